// The walk against a fake agent on loopback for what a real agent will not
// do on demand: silence, OIDs out of order, empty answers, error statuses,
// rows beyond the list.
#include "discovery/MibWalk.h"
#include "profilelist/ServicePaths.h"
#include "tests/discovery/SnmpTestAgents.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace snmptest;

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new WalkEnvironment);

const Oid kStart = parseOid(kProfileTableOid);
const Oid kAfterTable = parseOid("1.3.6.1.4.1.71362.1.1.1.1.6.13.1.2.0");

// The variables of full table rows, class 1 on the disk, plus one variable
// after the table.
std::vector<VarBind> tableRows(const std::vector<uint32_t>& rows)
{
    std::vector<VarBind> vars;
    for (uint32_t r : rows) {
        vars.push_back(intVar(columnOid(1, r), 100 + r));
        vars.push_back(intVar(columnOid(2, r), kLocationDisk));
        vars.push_back(stringVar(columnOid(3, r), "Profile " + std::to_string(r)));
        vars.push_back(stringVar(columnOid(4, r), "P" + std::to_string(r) + ".ICC"));
        vars.push_back(intVar(columnOid(5, r), 1));
        vars.push_back(intVar(columnOid(7, r), 2));
    }
    vars.push_back(intVar(kAfterTable, 0));
    return vars;
}

size_t countOf(const std::vector<Request>& requests, uint8_t type)
{
    size_t n = 0;
    for (const Request& r : requests)
        n += r.pduType == type;
    return n;
}

struct Lists {
    ProfileList rgb, sim, dst;
};

class WalkAgainstFakeAgent : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::remove(QV_PLIST_PROFILE_PATH); }

    // A current list with a hidden and a shown device entry, both unreported.
    void writeListedEntries()
    {
        auto lists = std::make_unique<Lists>();
        std::memset(lists.get(), 0, sizeof(Lists));
        for (int32_t code : {1, 4}) {
            ProfileListItem& item = lists->rgb.litem[lists->rgb.iNum++];
            item.iIndexOnDevice = 7;
            item.iInMenu = code;
            item.iProfileClass = 1;
            std::snprintf(item.FileName, sizeof item.FileName, "CODE%d.ICC", code);
            item.iLocation = kLocationDisk;
        }
        ASSERT_EQ(QVPListWriteProfile_All(&lists->rgb, &lists->sim, &lists->dst), 0);
    }
    // The codes of the current list's RGB entries after the walk's merge.
    std::vector<int32_t> rgbCodes()
    {
        auto lists = std::make_unique<Lists>();
        std::memset(lists.get(), 0, sizeof(Lists));
        EXPECT_EQ(QVPListReadProfile_All(&lists->rgb, &lists->sim, &lists->dst), 0);
        std::vector<int32_t> codes;
        for (int i = 0; i < lists->rgb.iNum; ++i)
            codes.push_back(lists->rgb.litem[i].iInMenu);
        return codes;
    }
};

TEST_F(WalkAgainstFakeAgent, SilentAgentFailsAfterFourTriesAndTheMergeStillRuns)
{
    writeListedEntries();
    FakeAgent agent([](const Request&) { return Answer{true}; });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(walk(walkArgs(agent.address())), 1);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(agent.requests().size(), 4u);  // no GET of the start OID after a time-out
    EXPECT_GE(elapsed, std::chrono::milliseconds(900));  // four tries of 250 ms
    EXPECT_EQ(spoolListOfThisThread().iNum, 0);
    EXPECT_EQ(rgbCodes(), std::vector<int32_t>{6});  // failure flag: 1 dropped, 4 kept as 6
}

TEST_F(WalkAgainstFakeAgent, RetriesAndTimeoutFromTheVectorWin)
{
    FakeAgent agent([](const Request&) { return Answer{true}; });
    EXPECT_EQ(walk(walkArgs(agent.address(), {"-r", "1", "-t", "0.1"})), 1);
    EXPECT_EQ(agent.requests().size(), 2u);
}

// A request's tries end with the walk's bound: with 1.5 s left, a request
// that would try six times for a second each tries once (a second try would
// end past the bound).
TEST_F(WalkAgainstFakeAgent, ARequestsTriesEndWithTheWalksBound)
{
    FakeAgent agent([](const Request&) { return Answer{true}; });
    std::vector<std::string> args = walkArgs(agent.address(), {"-r", "5", "-t", "1"});
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    EXPECT_EQ(mib_walk_until(static_cast<int>(args.size()), argv.data(), deadline), 1);
    EXPECT_EQ(agent.requests().size(), 1u) << "tries of the request";
}

TEST_F(WalkAgainstFakeAgent, EmptyTableSendsOneGetOfTheStartOid)
{
    FakeAgent agent(TableResponder({intVar(kAfterTable, 0)}));
    EXPECT_EQ(walk(walkArgs(agent.address())), 0);
    const std::vector<Request> requests = agent.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].pduType, kTagGetNext);
    EXPECT_EQ(requests[1].pduType, kTagGet);
    EXPECT_EQ(requests[1].oids, std::vector<Oid>{kStart});
    EXPECT_EQ(requests[0].community, "ombrel");
}

TEST_F(WalkAgainstFakeAgent, IncludeRequestedGetsTheStartOidFirst)
{
    FakeAgent agent(TableResponder(tableRows({1})));
    EXPECT_EQ(walk(walkArgs(agent.address(), {"-Ci"})), 0);
    const std::vector<Request> requests = agent.requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests[0].pduType, kTagGet);
    EXPECT_EQ(countOf(requests, kTagGet), 1u);
    EXPECT_EQ(spoolListOfThisThread().iNum, 1);
}

// Answers the table in order, but once, when asked for the row-2 index,
// answers `repeat` instead.
Responder outOfOrderOnce(const Oid& repeat, std::shared_ptr<std::atomic<bool>> done)
{
    const TableResponder table(tableRows({1, 2, 3}));
    return [=](const Request& request) {
        if (request.pduType == kTagGetNext && request.oids.at(0) == columnOid(1, 2) && !done->exchange(true))
            return Answer{false, 0, {intVar(repeat, 999)}};
        return table(request);
    };
}

struct OrderCase {
    const char* name;
    std::vector<std::string> options;
    Oid answered;  // instead of the row-3 index
    int result;
};

void PrintTo(const OrderCase& c, std::ostream* os)
{
    *os << c.name;
}

class OidOrdering : public WalkAgainstFakeAgent, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(OidOrdering, NotIncreasingEndsTheWalkUnlessTheCheckIsOff)
{
    const OrderCase c = GetParam();
    FakeAgent agent(outOfOrderOnce(c.answered, std::make_shared<std::atomic<bool>>(false)));
    std::memset(debugMessageOfThisThread(), 0, kDebugMessageSize);
    EXPECT_EQ(walk(walkArgs(agent.address(), c.options)), c.result);
    if (c.result == 1) {
        const std::string expected = "[SNMP] Error: OID not increasing: ." + dotted(columnOid(1, 2)) + " >= ." +
                                     dotted(c.answered);
        EXPECT_EQ(std::string(debugMessageOfThisThread()), expected);
        EXPECT_EQ(spoolListOfThisThread().iNum, 3);  // rows 1, 2 and the repeated index, stored before the check
    } else {
        EXPECT_EQ(spoolListOfThisThread().litem[2].iIndexOnDevice, 103);  // the walk went on to row 3
        EXPECT_EQ(spoolListOfThisThread().litem[c.answered.back() - 1].iIndexOnDevice, 999);  // the repeat was stored
    }
}

INSTANTIATE_TEST_SUITE_P(
    Walk, OidOrdering,
    ::testing::Values(OrderCase{"backwards", {}, columnOid(1, 1), 1},
                      OrderCase{"same", {}, columnOid(1, 2), 1},
                      OrderCase{"backwardsUnchecked", {"-Cc"}, columnOid(1, 1), 0},
                      OrderCase{"sameUnchecked", {"-Cc"}, columnOid(1, 2), 0},
                      OrderCase{"toggledTwice", {"-Ccc"}, columnOid(1, 1), 1},
                      OrderCase{"toggledInTwoOptions", {"-Cc", "-Cc"}, columnOid(1, 1), 1}),
    [](const ::testing::TestParamInfo<OrderCase>& param) { return std::string(param.param.name); });

// Sound behaviour: the settings start off in every walk; a "-Cc" of one
// request must not switch the ordering check off for the next.
TEST_F(WalkAgainstFakeAgent, SettingsOfOneWalkDoNotCarryIntoTheNext)
{
    {
        FakeAgent agent(outOfOrderOnce(columnOid(1, 1), std::make_shared<std::atomic<bool>>(false)));
        ASSERT_EQ(walk(walkArgs(agent.address(), {"-Cci"})), 0);
        EXPECT_EQ(countOf(agent.requests(), kTagGet), 1u);
    }
    FakeAgent agent(outOfOrderOnce(columnOid(1, 1), std::make_shared<std::atomic<bool>>(false)));
    EXPECT_EQ(walk(walkArgs(agent.address())), 1);
    EXPECT_EQ(countOf(agent.requests(), kTagGet), 0u);
}

TEST_F(WalkAgainstFakeAgent, AgentRepeatingForeverMeetsTheRequestBound)
{
    FakeAgent agent([](const Request&) { return Answer{false, 0, {intVar(columnOid(1, 1), 1)}}; });
    EXPECT_EQ(walk(walkArgs(agent.address(), {"-Cc"})), 1);
    EXPECT_EQ(agent.requests().size(), static_cast<size_t>(kMaxWalkRequests));
}

TEST_F(WalkAgainstFakeAgent, AnswerWithoutVariablesEndsTheWalk)
{
    FakeAgent agent([](const Request&) { return Answer{}; });
    EXPECT_EQ(walk(walkArgs(agent.address())), 1);
    EXPECT_EQ(countOf(agent.requests(), kTagGetNext), 1u);
    EXPECT_EQ(countOf(agent.requests(), kTagGet), 1u);  // nothing found: the start OID is asked for
}

TEST_F(WalkAgainstFakeAgent, ErrorStatusesEndTheWalk)
{
    struct Case {
        int errorStatus;
        int result;
    };
    for (const Case c : {Case{2, 0}, Case{1, 2}, Case{5, 2}}) {
        SCOPED_TRACE(c.errorStatus);
        writeListedEntries();
        const TableResponder table(tableRows({1}));
        FakeAgent agent([&](const Request& request) {
            if (request.oids.at(0) == columnOid(7, 1))
                return Answer{false, c.errorStatus, {VarBind{request.oids.at(0)}}};
            return table(request);
        });
        EXPECT_EQ(walk(walkArgs(agent.address())), c.result);
        EXPECT_EQ(spoolListOfThisThread().iNum, 1);  // what came before the error is kept and merged
        // CODE1 and CODE4 unreported, P1 reported: a failed walk drops CODE1.
        // A failed walk frees CODE1's slot, and P1 takes it.
        EXPECT_EQ(rgbCodes(), (c.result == 0 ? std::vector<int32_t>{1, 6, 2} : std::vector<int32_t>{2, 6}));
    }
}

TEST_F(WalkAgainstFakeAgent, ExceptionValueEndsTheWalkNormally)
{
    FakeAgent agent([](const Request& request) {
        if (request.oids.at(0) == kStart)
            return Answer{false, 0, {intVar(columnOid(1, 1), 1)}};
        return Answer{false, 0, {VarBind{columnOid(1, 2), 0x82, {}}}};  // endOfMibView
    });
    EXPECT_EQ(walk(walkArgs(agent.address())), 0);
    EXPECT_EQ(agent.requests().size(), 2u);
    EXPECT_EQ(spoolListOfThisThread().iNum, 1);
}

TEST_F(WalkAgainstFakeAgent, RowsOutsideTheListAreDropped)
{
    std::vector<VarBind> vars = tableRows({1, 500});
    vars.push_back(intVar(columnOid(1, 501), 601));
    vars.push_back(intVar(columnOid(1, 0), 599));
    Oid noRow = columnOid(1, 1);
    noRow.pop_back();  // column and the ignored sub-identifier only
    vars.push_back(intVar(noRow, 602));
    Oid huge = columnOid(1, 1);
    huge.back() = 0xFFFFFFFFu;
    vars.push_back(intVar(huge, 603));
    FakeAgent agent(TableResponder(std::move(vars)));
    EXPECT_EQ(walk(walkArgs(agent.address())), 0);
    EXPECT_EQ(spoolListOfThisThread().iNum, 2);
    EXPECT_EQ(spoolListOfThisThread().litem[0].iIndexOnDevice, 101);
    EXPECT_EQ(spoolListOfThisThread().litem[499].iIndexOnDevice, 600);
}

TEST_F(WalkAgainstFakeAgent, NamesAreCutOnACharacterBoundaryAndAtTheirFirstZeroByte)
{
    std::vector<VarBind> vars = tableRows({1, 2});
    // 30 ASCII bytes and a two-byte character: 32 bytes, cut before the character.
    vars[2] = stringVar(columnOid(3, 1), std::string(30, 'a') + "\xC3\xA9");
    vars[8] = stringVar(columnOid(3, 2), std::string("AB\0CD", 5));
    vars[3] = VarBind{columnOid(4, 1), kTagInteger, berInteger(5)};  // wrong type: not stored
    FakeAgent agent(TableResponder(std::move(vars)));
    EXPECT_EQ(walk(walkArgs(agent.address())), 0);
    EXPECT_EQ(std::string(spoolListOfThisThread().litem[0].ProfileName), std::string(30, 'a'));
    EXPECT_STREQ(spoolListOfThisThread().litem[1].ProfileName, "AB");
    EXPECT_STREQ(spoolListOfThisThread().litem[0].FileName, "");
}

TEST_F(WalkAgainstFakeAgent, RefusedVectorsStillMerge)
{
    struct Case {
        std::vector<std::string> args;
        int result;
    };
    FakeAgent agent(TableResponder(tableRows({1})));
    const std::vector<Case> cases{
        {{"snmpwalk", "-Z", "-v", "1", "-c", "ombrel", agent.address()}, -1},  // unknown option
        {{"snmpwalk", "-v", "1", "-c", "ombrel"}, -1},                          // no agent
        {{"snmpwalk", "-V"}, -2},                                               // ends the run
        {walkArgs(agent.address()), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.size());
        writeListedEntries();
        EXPECT_EQ(walk(c.args), c.result);
        EXPECT_EQ(rgbCodes(), (c.result == 0 ? std::vector<int32_t>{1, 6, 2} : std::vector<int32_t>{6}));
    }
}

TEST_F(WalkAgainstFakeAgent, UnparsableStartOidOrUnusableAddressFailsWithoutARequest)
{
    FakeAgent agent(TableResponder(tableRows({1})));
    std::vector<std::string> badOid = walkArgs(agent.address());
    badOid.back() = "1.3.six";
    const std::vector<std::string> badAddress = walkArgs("127.0.0.1:99999");
    for (const auto& args : {badOid, badAddress}) {
        writeListedEntries();
        EXPECT_EQ(walk(args), 1);
        EXPECT_EQ(rgbCodes(), std::vector<int32_t>{6});  // merged with the failure flag
    }
    EXPECT_TRUE(agent.requests().empty());
}

TEST_F(WalkAgainstFakeAgent, DefaultStartOidIsMib2)
{
    FakeAgent agent(TableResponder({intVar(parseOid("1.3.6.1.2.1.1.1.0"), 1), intVar(kAfterTable, 0)}));
    std::vector<std::string> args = walkArgs(agent.address());
    args.pop_back();
    EXPECT_EQ(walk(args), 0);
    ASSERT_FALSE(agent.requests().empty());
    EXPECT_EQ(agent.requests()[0].oids, std::vector<Oid>{parseOid("1.3.6.1.2.1")});
    EXPECT_EQ(numprintedOfThisThread(), 1);
}

}  // namespace
