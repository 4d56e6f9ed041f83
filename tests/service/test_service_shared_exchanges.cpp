// Walks of two users that reach the service at the same time: with the same
// argument vector they share one exchange with the device and each user's
// own list gets the device's profiles; a vector that differs in any element
// runs its own exchange. Nothing of one user's list reaches the other's.
#include "ServiceFixture.h"

#include "discovery/MibWalk.h"
#include "platform/FixedPaths.h"
#include "profilelist/ProfileList.h"
#include "service/SharedExchanges.h"
#include "tests/discovery/SnmpTestAgents.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <ostream>
#include <regex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
namespace svc = svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;
using namespace rxtest;
using namespace snmptest;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;

namespace {

constexpr const char* kOtherUser = "nobody";

// A device with two RGB profiles on its disk.
std::vector<VarBind> twoProfiles()
{
    std::vector<VarBind> vars;
    for (uint32_t r : {1u, 2u}) {
        vars.push_back(intVar(columnOid(1, r), r));
        vars.push_back(intVar(columnOid(2, r), kLocationDisk));
        vars.push_back(stringVar(columnOid(3, r), "Shared " + std::to_string(r)));
        vars.push_back(stringVar(columnOid(4, r), "SHARED" + std::to_string(r) + ".ICC"));
        vars.push_back(intVar(columnOid(5, r), 1));
    }
    vars.push_back(intVar(parseOid("1.3.6.1.4.1.71362.1.1.1.1.6.13.1.2.0"), 0));
    return vars;
}

// The profile file names a list file holds.
std::vector<std::string> fileNamesIn(const std::string& path)
{
    static const std::regex name("<string>([A-Z0-9]+\\.ICC)</string>");
    const std::string text = readFile(path);
    std::vector<std::string> names;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), name); it != std::sregex_iterator(); ++it)
        names.push_back((*it)[1]);
    return names;
}

struct SharingCase {
    const char* what;
    std::vector<std::string> otherOptions;  // the second walk's options, before the agent's address
    std::size_t exchanges;                  // walks the agent sees
};

std::ostream& operator<<(std::ostream& out, const SharingCase& c)
{
    return out << c.what;
}

// The plug-in's vector with a time-out long enough for the held first answer.
std::vector<std::string> walkOf(const std::string& user, const std::string& agent,
                                const std::vector<std::string>& options)
{
    std::vector<std::string> arguments{"mibwalk_XPC", "rx8240", user, "snmpwalk", "-Os"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.insert(arguments.end(), {"-v", "1", "-t", "10", "-r", "0", agent, kProfileTableOid});
    return arguments;
}

class SharedExchanges : public ::testing::TestWithParam<SharingCase> {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "needs root to walk as a second user";
        isolateNetSnmp();
        service.start({RX_SERVICE_BINARY, {}});
        fs::permissions(service.root(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    }

    ServiceUnderRoot service;
};

TEST_P(SharedExchanges, SameVectorOneExchangeEachUserItsOwnList)
{
    const SharingCase& c = GetParam();
    // The agent holds its first answer until both walks are in the service.
    std::atomic<bool> released{false};
    const TableResponder table(twoProfiles());
    FakeAgent agent([&](const Request& request) {
        for (int i = 0; i < 500 && !released; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return table(request);
    });
    const std::string me = rx::realUserLoginName();
    // An entry of the other user's own, which must stay out of my list.
    auto lists = std::make_unique<ProfileList[]>(3);
    ProfileListItem& own = lists[0].litem[lists[0].iNum++];
    std::snprintf(own.FileName, sizeof own.FileName, "PRIVATE.ICC");
    own.iIndexOnDevice = 9;
    own.iInMenu = kStateManualShown;
    own.iLocation = kLocationDisk;
    writeFile(service.listPath(kOtherUser), QVPListBuildFileText(&lists[0], &lists[1], &lists[2]));
    std::string mine, others;
    std::thread first([&] { mine = runHelper(walkOf(me, agent.address(), {"-c", "ombrel"})); });
    for (int i = 0; i < 1000 && agent.requests().empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::thread second([&] { others = runHelperAs(kOtherUser, walkOf(kOtherUser, agent.address(), c.otherOptions)); });
    std::this_thread::sleep_for(std::chrono::seconds(2));  // the second request reaches the service
    released = true;
    first.join();
    second.join();

    EXPECT_THAT(mine, HasSubstr("mibwalk_XPC=iRet=0"));
    EXPECT_THAT(others, HasSubstr("mibwalk_XPC=iRet=0"));
    const auto requests = agent.requests();
    const Oid start = parseOid(kProfileTableOid);
    EXPECT_EQ(std::count_if(requests.begin(), requests.end(),
                            [&](const Request& r) { return r.pduType == kTagGetNext && r.oids.at(0) == start; }),
              static_cast<long>(c.exchanges))
        << requests.size() << " requests";
    EXPECT_THAT(fileNamesIn(service.listPath(me)), UnorderedElementsAre("SHARED1.ICC", "SHARED2.ICC"));
    EXPECT_THAT(fileNamesIn(service.listPath(kOtherUser)),
                UnorderedElementsAre("PRIVATE.ICC", "SHARED1.ICC", "SHARED2.ICC"));
}

INSTANTIATE_TEST_SUITE_P(Walks, SharedExchanges,
                         ::testing::Values(SharingCase{"the same vector", {"-c", "ombrel"}, 1},
                                           SharingCase{"another community", {"-c", "ombrex"}, 2},
                                           SharingCase{"the start OID asked first", {"-c", "ombrel", "-Ci"}, 2}));

// A walk joins another user's exchange, which fails after 300 ms. When that
// was the owner's bound cutting it short, the joiner, whose bound is later,
// runs its own exchange; an exchange that failed on its own is shared as it
// is.
TEST(SharedExchangeOutcomes, AnExchangeCutShortByItsOwnersBoundIsNotSharedAsAFailure)
{
    using Clock = svc::SharedExchanges::Clock;
    struct Case {
        const char* what;
        std::chrono::milliseconds ownersBound;
        int joinerResult;
        int joinerExchanges;
    };
    for (const Case& c : {Case{"cut short by the owner's bound", std::chrono::milliseconds(300), 0, 1},
                          Case{"failed within the owner's bound", std::chrono::seconds(30), 1, 0}}) {
        SCOPED_TRACE(c.what);
        svc::SharedExchanges exchanges(8);
        const svc::ExchangeKey key{"snmpwalk", "-c", "ombrel", "127.0.0.1:161"};
        const auto start = Clock::now();
        std::atomic<bool> ownerStarted{false};
        std::unique_ptr<svc::ExchangeOutcome> owners;
        std::thread owner([&] {
            owners = exchanges.run(1, key, start + c.ownersBound, [&](svc::ExchangeOutcome* out) {
                ownerStarted = true;
                std::this_thread::sleep_until(start + std::chrono::milliseconds(300));
                out->result = 1;
            });
        });
        while (!ownerStarted)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        int joinerExchanges = 0;
        const auto joinersBound = Clock::now() + std::chrono::seconds(30);
        const auto joiners = exchanges.run(2, key, joinersBound, [&](svc::ExchangeOutcome* out) {
            ++joinerExchanges;
            out->result = 0;
        });
        owner.join();
        ASSERT_TRUE(owners && joiners);
        EXPECT_EQ(owners->result, 1);
        EXPECT_EQ(joiners->result, c.joinerResult);
        EXPECT_EQ(joinerExchanges, c.joinerExchanges);
    }
}

}  // namespace
