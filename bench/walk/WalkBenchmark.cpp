// The walk of a 500-row profile table served by snmpsimd on loopback, timed
// with mib_walk (its merge included) and with Net-SNMP's own snmpwalk on the
// same agent in the same run. Prints the ratio of the mean times; the target
// is mib_walk within 5% of snmpwalk. snmpwalk's time includes starting its
// process; its output goes to /dev/null.
#include "discovery/MibWalk.h"
#include "tests/discovery/SnmpTestAgents.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

namespace {

using namespace snmptest;

constexpr int kRows = 500;
std::unique_ptr<SnmpSimAgent> gAgent;
double gRatio = 0;

// One walk with each tool per iteration, alternating, so that the load of
// other processes on the machine falls on both alike.
void BM_WalkSideBySide(benchmark::State& state)
{
    std::vector<std::string> args = walkArgs(gAgent->address());
    args[0] = "/usr/bin/snmpwalk";
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);

    using Clock = std::chrono::steady_clock;
    Clock::duration ours{}, theirs{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const int result = walk(walkArgs(gAgent->address()));
        const auto t1 = Clock::now();
        pid_t pid = -1;
        int status = 0;
        const bool ran = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0 &&
                         ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        const auto t2 = Clock::now();
        if (result != 0 || spoolListOfThisThread().iNum != kRows || !ran) {
            state.SkipWithError("a walk failed");
            break;
        }
        ours += t1 - t0;
        theirs += t2 - t1;
    }
    posix_spawn_file_actions_destroy(&actions);
    const double n = static_cast<double>(state.iterations());
    const double oursMs = std::chrono::duration<double, std::milli>(ours).count() / n;
    const double theirsMs = std::chrono::duration<double, std::milli>(theirs).count() / n;
    state.counters["mib_walk_ms"] = oursMs;
    state.counters["snmpwalk_ms"] = theirsMs;
    state.counters["ratio"] = theirsMs > 0 ? oursMs / theirsMs : 0;
    gRatio = theirsMs > 0 ? oursMs / theirsMs : 0;
}

BENCHMARK(BM_WalkSideBySide)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(6);

}  // namespace

int main(int argc, char** argv)
{
    char rootTemplate[] = "/tmp/rx8240-bench-walk-XXXXXX";
    if (!::mkdtemp(rootTemplate)) {
        std::perror("mkdtemp");
        return 1;
    }
    ::chmod(rootTemplate, 0755);
    ::setenv("TARNVALE_ROOT", rootTemplate, 1);
    ::setenv("RX_TEST_ROOT", rootTemplate, 1);
    isolateNetSnmp();  // both walks read the same isolated configuration
    prepareListPaths();

    gAgent = std::make_unique<SnmpSimAgent>(testRoot(), profileTableSnmprec(kRows));
    if (!gAgent->ok()) {
        std::fprintf(stderr, "snmpsimd did not start\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gAgent.reset();
    std::filesystem::remove_all(rootTemplate);
    if (gRatio > 0)
        std::printf("mib_walk / snmpwalk = %.3f (target <= 1.05): %s\n", gRatio, gRatio <= 1.05 ? "met" : "NOT met");
    return 0;
}
