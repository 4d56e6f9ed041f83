// A full-list write (three classes, 500 used slots each) as the plug-in
// makes it, through the launcher and the service (probe, staging removal,
// pieces, commit), against the store's direct write of the same lists as the
// service makes it (probe, build the text, replace the file durably). The
// direct side is composed here from the store's own pieces, because the two
// variants of QVPListWriteProfile_All cannot be linked into one program.
// Everything runs under a temporary root with a private service.
#include "platform/FixedPaths.h"
#include "profilelist/DurableFile.h"
#include "profilelist/LauncherCalls.h"
#include "profilelist/ProfileList.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::unique_ptr<ProfileList[]> fullLists()
{
    auto lists = std::make_unique<ProfileList[]>(3);
    for (int c = 0; c < kProfileClassCount; ++c) {
        for (int i = 0; i < kProfileListCapacity; ++i) {
            ProfileListItem& item = lists[c].litem[i];
            item.iIndexOnDevice = i + 1;
            item.iInMenu = kStateDeviceHidden + i % kStateManualShown;
            item.iProfileClass = c;
            std::snprintf(item.FileName, sizeof item.FileName, "PROF%04d.ICC", i);
            std::snprintf(item.ProfileName, sizeof item.ProfileName, "Profile %d of class %d", i, c);
            item.iLocation = i % 2 ? kLocationDisk : kLocationCard;
        }
        lists[c].iNum = kProfileListCapacity;
    }
    return lists;
}

// The store's direct write, as the service runs it.
int directWrite(const std::string& path, const ProfileList* rgb, const ProfileList* sim, const ProfileList* dst)
{
    umask(002);
    int fd = open(path.c_str(), O_RDWR | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -1;
    close(fd);
    return profilelist::replaceFileDurably(path, QVPListBuildFileText(rgb, sim, dst)) ? 0 : -1;
}

void BM_Write_Launcher(benchmark::State& state)
{
    auto lists = fullLists();
    const std::size_t runsBefore = QVPListLauncherRuns();
    for (auto _ : state)
        if (QVPListWriteProfile_All(&lists[0], &lists[1], &lists[2]) != 0)
            state.SkipWithError("launcher write failed");
    state.counters["runs_per_write"] =
        static_cast<double>(QVPListLauncherRuns() - runsBefore) / static_cast<double>(state.iterations());
    state.counters["pieces"] = static_cast<double>(
        splitUtf8Every(QVPListBuildFileText(&lists[0], &lists[1], &lists[2]), kPieceLength).size());
}
// Five rounds of each, interleaved at random, so that a change in the
// machine's load weighs on both sides; the ratio is that of the medians.
BENCHMARK(BM_Write_Launcher)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(0.5)->Repetitions(5);

void BM_Write_Direct(benchmark::State& state)
{
    auto lists = fullLists();
    const std::string path = QVPListCurrentPath();
    for (auto _ : state)
        if (directWrite(path, &lists[0], &lists[1], &lists[2]) != 0)
            state.SkipWithError("direct write failed");
}
BENCHMARK(BM_Write_Direct)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(0.5)->Repetitions(5);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const auto& r : runs)
            if (!r.error_occurred && r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
                medians[r.run_name.function_name] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;
};

pid_t startService(const std::string& root, const std::string& socketPath)
{
    setenv("TARNVALE_ROOT", root.c_str(), 1);
    setenv("RX8240_SERVICE_SOCKET", socketPath.c_str(), 1);
    const std::string launcher = rx::fixedPath(rx::kLauncherPath);
    fs::create_directories(fs::path(launcher).parent_path());
    fs::copy_file(RX_LAUNCHER_BINARY, launcher, fs::copy_options::overwrite_existing);
    pid_t pid = fork();
    if (pid == 0) {
        execl(RX_SERVICE_BINARY, RX_SERVICE_BINARY, "--listen", socketPath.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    for (int i = 0; i < 500; ++i) {
        if (QVPListIsAdminProfile() == 1)
            return pid;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGTERM);
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    char rootTemplate[] = "/tmp/rx8240-bench-XXXXXX";
    if (!mkdtemp(rootTemplate))
        return 1;
    const std::string root = rootTemplate;
    pid_t service = startService(root, root + "/service.sock");
    if (service < 0) {
        std::fprintf(stderr, "bench_launcher_write: the service did not start\n");
        fs::remove_all(root);
        return 1;
    }
    {
        // The direct write needs the file to exist, as after any first write.
        auto lists = fullLists();
        QVPListWriteProfile_All(&lists[0], &lists[1], &lists[2]);
    }

    std::vector<char*> arguments(argv, argv + argc);
    char interleaved[] = "--benchmark_enable_random_interleaving=true";
    arguments.insert(arguments.begin() + 1, interleaved);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    auto launcher = reporter.medians.find("BM_Write_Launcher");
    auto direct = reporter.medians.find("BM_Write_Direct");
    if (launcher != reporter.medians.end() && direct != reporter.medians.end() && direct->second > 0) {
        const double ratio = launcher->second / direct->second;
        std::printf("\nfull-list write through the launcher / direct write: %.2fx (target: at most 6x): %s\n", ratio,
                    ratio <= 6 ? "met" : "NOT met");
    }
    kill(service, SIGTERM);
    waitpid(service, nullptr, 0);
    fs::remove_all(root);
    return 0;
}
