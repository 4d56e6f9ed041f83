// The walk against agents that misbehave on purpose: silence, answers to
// another request, empty answers, OIDs that repeat, fall back or restart the
// table, a table without end, a drip of answers just inside the time-out, and
// names of 64 KiB. Every walk must end within its bounds of time and
// requests, keep the spool list inside its 500 slots with cut names, keep the
// process's memory flat, and still merge into the list file as it should.
#include "discovery/MibWalk.h"
#include "profilelist/ServicePaths.h"
#include "tests/discovery/SnmpTestAgents.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <thread>

using namespace snmptest;

namespace {

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new WalkEnvironment);

const Oid kAfterTable = parseOid("1.3.6.1.4.1.71362.1.1.1.1.6.13.1.2.0");

// A UDP agent that answers each request with whatever datagram the test
// forms (nothing for an empty string); counts the requests.
class RawAgent {
public:
    using Former = std::function<std::string(const Request&, int index)>;
    explicit RawAgent(Former former) : former_(std::move(former))
    {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t size = sizeof address;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~RawAgent()
    {
        stop_ = true;
        thread_.join();
        ::close(fd_);
    }
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
    int requests() const { return count_; }

private:
    void serve()
    {
        std::string buffer(70000, '\0');
        while (!stop_) {
            pollfd pfd{fd_, POLLIN, 0};
            if (::poll(&pfd, 1, 20) <= 0)
                continue;
            sockaddr_in peer{};
            socklen_t peerLength = sizeof peer;
            const ssize_t n =
                ::recvfrom(fd_, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&peer), &peerLength);
            Request request;
            if (n <= 0 || !decodeRequest(buffer.substr(0, static_cast<size_t>(n)), &request))
                continue;
            const std::string reply = former_(request, count_++);
            if (!reply.empty())
                ::sendto(fd_, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&peer), peerLength);
        }
    }
    Former former_;
    int fd_ = -1;
    int port_ = 0;
    std::atomic<int> count_{0};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

std::string answer(const Request& request, const std::vector<VarBind>& vars, int64_t id = -1)
{
    return encodeResponse(request.community, id < 0 ? request.requestId : id, 0, vars);
}

// The next row of a table without end: every GETNEXT gets the index of the
// row after the one asked for, so the OIDs keep increasing.
std::vector<VarBind> nextRow(const Request& request)
{
    const Oid& asked = request.oids.at(0);
    const uint32_t row = asked.size() == columnOid(1, 1).size() ? asked.back() + 1 : 1;
    return {intVar(columnOid(1, row), row)};
}

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

struct BadDevice {
    const char* name;
    RawAgent::Former former;
    std::vector<std::string> options;
    int result;
    double maxSeconds;   // the walk's bound of time, with room for a loaded machine
    int maxRequests;
    bool expectNames = false;  // the agent served names that must arrive cut
};

void PrintTo(const BadDevice& d, std::ostream* out)
{
    *out << d.name;
}

// A list with an unreported shown device entry (code 4) and a hidden one
// (code 1): a failed walk turns 4 into 6 and drops 1; a normal end keeps 1.
void writeKnownList()
{
    auto lists = std::make_unique<ProfileList[]>(3);
    std::memset(lists.get(), 0, sizeof(ProfileList) * 3);
    for (int32_t code : {4, 1}) {
        ProfileListItem& item = lists[0].litem[lists[0].iNum++];
        item.iIndexOnDevice = 400 + code;
        item.iInMenu = code;
        item.iProfileClass = 1;
        std::snprintf(item.FileName, sizeof item.FileName, "KEEP%d.ICC", code);
        item.iLocation = kLocationDisk;
    }
    ASSERT_EQ(QVPListWriteProfile_All(&lists[0], &lists[1], &lists[2]), 0);
}

int32_t codeOf(const ProfileList& list, const char* fileName)
{
    for (int i = 0; i < list.iNum && i < kProfileListCapacity; ++i)
        if (std::strcmp(list.litem[i].FileName, fileName) == 0)
            return list.litem[i].iInMenu;
    return 0;
}

class BadDevices : public ::testing::TestWithParam<BadDevice> {};

TEST_P(BadDevices, WalkEndsWithinItsBoundsAndTheListIsMerged)
{
    const BadDevice& d = GetParam();
    writeKnownList();
    mibWalkTimeLimitSeconds = 3;
    [[maybe_unused]] const long before = residentKiB();
    RawAgent agent(d.former);

    const auto begin = std::chrono::steady_clock::now();
    const int result = walk(walkArgs(agent.address(), d.options));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    mibWalkTimeLimitSeconds = 300;

    EXPECT_EQ(result, d.result);
    EXPECT_LT(seconds, d.maxSeconds) << "the walk outlived its bound";
    EXPECT_LE(agent.requests(), d.maxRequests);
#if !defined(RX_SANITIZE_ADDRESS)
    // (Under AddressSanitizer freed memory sits in its quarantine, so the
    // resident size says nothing there; LeakSanitizer checks instead.)
    EXPECT_LT(residentKiB() - before, 32 * 1024) << "memory grew by more than 32 MiB";
#endif

    // The spool list never holds more than its slots, every name is cut.
    EXPECT_GE(spoolListOfThisThread().iNum, 0);
    for (const ProfileListItem& item : spoolListOfThisThread().litem) {
        EXPECT_LE(strnlen(item.FileName, sizeof item.FileName), 31u);
        EXPECT_LE(strnlen(item.ProfileName, sizeof item.ProfileName), 31u);
    }
    if (d.expectNames) {
        EXPECT_EQ(std::strlen(spoolListOfThisThread().litem[0].ProfileName), 31u);
    }

    // Merged as the rules say, whatever the device did.
    auto lists = std::make_unique<ProfileList[]>(3);
    std::memset(lists.get(), 0, sizeof(ProfileList) * 3);
    ASSERT_EQ(QVPListReadProfile_All(&lists[0], &lists[1], &lists[2]), 0);
    // Unreported and shown: 3 after a normal end, then salvaged to 6; 6
    // after a failure. Unreported and hidden: kept as 1, or dropped.
    EXPECT_EQ(codeOf(lists[0], "KEEP4.ICC"), kStateManualShown);
    EXPECT_EQ(codeOf(lists[0], "KEEP1.ICC"), result == 0 ? kStateDeviceHidden : kStateEmpty);
    for (const ProfileList& list : {lists[0], lists[1], lists[2]})
        EXPECT_LE(list.iNum, kProfileListCapacity);
}

std::vector<BadDevice> badDevices()
{
    const std::string longName(65000, 'N');
    return {
        {"Silent", [](const Request&, int) { return std::string(); }, {}, 1, 3.0, 4},
        {"WrongRequestId",
         [](const Request& r, int) { return answer(r, {intVar(columnOid(1, 1), 1)}, r.requestId + 7); },
         {},
         1,
         3.0,
         4},
        {"EmptyVariableList", [](const Request& r, int) { return answer(r, {}); }, {}, 1, 2.0, 2},
        {"RepeatsTheOid", [](const Request& r, int) { return answer(r, {intVar(r.oids.at(0), 1)}); }, {}, 1, 2.0, 1},
        {"DecreasingOids",
         [](const Request& r, int i) { return answer(r, {intVar(columnOid(1, 400 - uint32_t(i) * 7), 1)}); },
         {},
         1,
         2.0,
         2},
        // With the ordering check off, a device that starts its table again
        // after row 3 would be walked for ever.
        {"JumpsBackToTheTableStart",
         [](const Request& r, int i) { return answer(r, {intVar(columnOid(1, uint32_t(i % 3) + 1), i % 3 + 1)}); },
         {"-Cc"},
         1,
         6.0,
         kMaxWalkRequests},
        {"EndlessTable", [](const Request& r, int) { return answer(r, nextRow(r)); }, {}, 1, 6.0, kMaxWalkRequests},
        // Each answer comes 100 ms late but within the time-out: only the
        // walk's own time limit (3 s here) ends it; after 20 s the agent goes
        // silent so that a walk without a limit fails this test quickly.
        {"DripJustInsideTheTimeout",
         [](const Request& r, int i) {
             static std::chrono::steady_clock::time_point start;
             if (i == 0)
                 start = std::chrono::steady_clock::now();
             if (std::chrono::steady_clock::now() - start > std::chrono::seconds(20))
                 return std::string();
             std::this_thread::sleep_for(std::chrono::milliseconds(100));
             return answer(r, nextRow(r));
         },
         {},
         1,
         6.0,
         60},
        {"Names64KiB",
         [longName](const Request& r, int) {
             const Oid& asked = r.oids.at(0);
             if (asked.size() < columnOid(3, 1).size())
                 return answer(r, {stringVar(columnOid(3, 1), longName)});
             if (asked == columnOid(3, 1))
                 return answer(r, {stringVar(columnOid(4, 1), longName)});
             return answer(r, {intVar(kAfterTable, 0)});
         },
         {},
         0,
         3.0,
         4,
         true},
    };
}

INSTANTIATE_TEST_SUITE_P(Walk, BadDevices, ::testing::ValuesIn(badDevices()),
                         [](const ::testing::TestParamInfo<BadDevice>& param) { return std::string(param.param.name); });

}  // namespace
