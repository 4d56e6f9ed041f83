// The service with a walk that records its steps instead of walking a
// device: each exchange appends to the file RX_WALK_RECORD the lines
//   begin <ns>, argc <n>, argv <element> (one per element), end <ns>
// sleeping RX_WALK_SLEEP_MS before the end (only exchanges whose vector
// names the agent RX_WALK_SLOW_AGENT, when that is set), and gives the
// result RX_WALK_RESULT (default 0); each merge appends
//   current <path>, previous <path>, spool <path>
// and returns the exchange's result.
// RX_WALK_BOUND_MS, when set, replaces the walk's bound.
#include "profilelist/ServicePaths.h"
#include "service/ServiceMain.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace svc = svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;

namespace {

long long nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::ofstream recordFile()
{
    const char* record = std::getenv("RX_WALK_RECORD");
    return std::ofstream(record ? record : "/dev/null", std::ios::app);
}

void recordingExchange(int argc, char* argv[], std::chrono::steady_clock::time_point,
                       svc::ExchangeOutcome* outcome)
{
    const char* sleepMs = std::getenv("RX_WALK_SLEEP_MS");
    const char* result = std::getenv("RX_WALK_RESULT");
    std::ofstream out = recordFile();
    out << "begin " << nowNs() << "\nargc " << argc << "\n";
    for (int i = 0; i < argc; ++i)
        out << "argv " << argv[i] << "\n";
    out.flush();
    const char* slowAgent = std::getenv("RX_WALK_SLOW_AGENT");
    const bool slow = !slowAgent || std::find(argv, argv + argc, std::string(slowAgent)) != argv + argc;
    if (sleepMs && slow)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atol(sleepMs)));
    out << "end " << nowNs() << "\n";
    outcome->result = result ? std::atoi(result) : 0;
}

int recordingMerge(const svc::ExchangeOutcome& outcome)
{
    recordFile() << "current " << QV_PLIST_PROFILE_PATH << "\nprevious " << QV_PLIST_PROFILE_PREV_PATH
                 << "\nspool " << QV_PLIST_PROFILE_SPOOL_PATH << "\n";
    return outcome.result;
}

}  // namespace

int main(int argc, char* argv[])
{
    svc::ServiceSettings settings;
    if (const char* bound = std::getenv("RX_WALK_BOUND_MS"))
        settings.walkBound = std::chrono::milliseconds(std::atol(bound));
    return svc::serviceMain(argc, argv, {recordingExchange, recordingMerge}, settings);
}
