// The service with a walk that records its call instead of walking a
// device: for each call it appends to the file RX_WALK_RECORD the lines
//   begin <ns>, argc <n>, argv <element> (one per element), current <path>,
//   previous <path>, spool <path>, end <ns>
// after sleeping RX_WALK_SLEEP_MS (only walks whose vector names the agent
// RX_WALK_SLOW_AGENT, when that is set), and returns RX_WALK_RESULT
// (default 0).
// RX_WALK_BOUND_MS, when set, replaces the walk's bound.
#include "profilelist/ServicePaths.h"
#include "service/ServiceMain.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace {

long long nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int recordingWalk(int argc, char* argv[], std::chrono::steady_clock::time_point)
{
    const char* record = std::getenv("RX_WALK_RECORD");
    const char* sleepMs = std::getenv("RX_WALK_SLEEP_MS");
    const char* result = std::getenv("RX_WALK_RESULT");
    std::ofstream out(record ? record : "/dev/null", std::ios::app);
    out << "begin " << nowNs() << "\nargc " << argc << "\n";
    for (int i = 0; i < argc; ++i)
        out << "argv " << argv[i] << "\n";
    out << "current " << QV_PLIST_PROFILE_PATH << "\nprevious " << QV_PLIST_PROFILE_PREV_PATH << "\nspool "
        << QV_PLIST_PROFILE_SPOOL_PATH << "\n";
    out.flush();
    const char* slowAgent = std::getenv("RX_WALK_SLOW_AGENT");
    const bool slow = !slowAgent || std::find(argv, argv + argc, std::string(slowAgent)) != argv + argc;
    if (sleepMs && slow)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atol(sleepMs)));
    out << "end " << nowNs() << "\n";
    return result ? std::atoi(result) : 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    namespace svc = svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;
    svc::ServiceSettings settings;
    if (const char* bound = std::getenv("RX_WALK_BOUND_MS"))
        settings.walkBound = std::chrono::milliseconds(std::atol(bound));
    return svc::serviceMain(argc, argv, recordingWalk, settings);
}
