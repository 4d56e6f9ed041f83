// The walk against snmpsimd on loopback, serving the profile table from the
// fixture files under tests/fixtures/snmp.
#include "discovery/MibWalk.h"
#include "profilelist/ServicePaths.h"
#include "tests/discovery/SnmpTestAgents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace {

using namespace snmptest;

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new WalkEnvironment);

class WalkAgainstSnmpsim : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        agents_ = new std::map<std::string, std::unique_ptr<SnmpSimAgent>>;
        for (const char* name : {"rows-1-3", "empty-table", "rows-1-and-3", "index-wrong-type", "long-name"})
            (*agents_)[name] = std::make_unique<SnmpSimAgent>(testRoot(), fixture(std::string(name) + ".snmprec"));
    }
    static void TearDownTestSuite()
    {
        delete agents_;
        agents_ = nullptr;
    }
    void SetUp() override { std::filesystem::remove(QV_PLIST_PROFILE_PATH); }

    const SnmpSimAgent& agent(const std::string& name)
    {
        const SnmpSimAgent& a = *agents_->at(name);
        EXPECT_TRUE(a.ok()) << "snmpsimd for " << name << " did not start";
        return a;
    }

    static std::map<std::string, std::unique_ptr<SnmpSimAgent>>* agents_;
};
std::map<std::string, std::unique_ptr<SnmpSimAgent>>* WalkAgainstSnmpsim::agents_ = nullptr;

struct Lists {
    ProfileList rgb, sim, dst;
};
std::unique_ptr<Lists> readCurrent()
{
    auto lists = std::make_unique<Lists>();
    std::memset(lists.get(), 0, sizeof(Lists));
    EXPECT_EQ(QVPListReadProfile_All(&lists->rgb, &lists->sim, &lists->dst), 0);
    return lists;
}

TEST_F(WalkAgainstSnmpsim, ThreeRowsFillThreeSlotsAndAreMerged)
{
    const SnmpSimAgent& a = agent("rows-1-3");
    ASSERT_EQ(walk(walkArgs(a.address())), 0);
    EXPECT_EQ(spoolListOfThisThread().iNum, 3);
    // Seven columns of three rows, column 6 walked over but not stored.
    EXPECT_EQ(numprintedOfThisThread(), 21);
    for (int r = 1; r <= 3; ++r) {
        SCOPED_TRACE(r);
        const ProfileListItem& slot = spoolListOfThisThread().litem[r - 1];
        EXPECT_EQ(slot.iIndexOnDevice, 100 + r);
        EXPECT_EQ(slot.iLocation, r % 2 ? kLocationDisk : kLocationCard);
        EXPECT_EQ(slot.ProfileName, "Profile " + std::to_string(r));
        EXPECT_EQ(slot.FileName, "PROF" + std::to_string(r) + ".ICC");
        EXPECT_EQ(slot.iProfileClass, r == 1 ? 1 : 3);
        EXPECT_EQ(slot.iDriver, 1);
        EXPECT_EQ(slot.iInMenu, 0);
    }
    const ProfileListItem empty{};
    EXPECT_EQ(std::memcmp(&spoolListOfThisThread().litem[3], &empty, sizeof empty), 0);

    const auto lists = readCurrent();
    ASSERT_EQ(lists->rgb.iNum, 1);
    EXPECT_STREQ(lists->rgb.litem[0].FileName, "PROF1.ICC");
    EXPECT_EQ(lists->rgb.litem[0].iInMenu, 2);
    for (const ProfileList* list : {&lists->sim, &lists->dst}) {
        ASSERT_EQ(list->iNum, 2);
        EXPECT_STREQ(list->litem[0].FileName, "PROF2.ICC");
        EXPECT_STREQ(list->litem[1].FileName, "PROF3.ICC");
    }
}

TEST_F(WalkAgainstSnmpsim, EmptyTableEndsNormallyAfterOneGetOfTheStartOid)
{
    const SnmpSimAgent& a = agent("empty-table");
    const size_t before = a.loggedRequests().size();
    ASSERT_EQ(walk(walkArgs(a.address())), 0);
    EXPECT_EQ(spoolListOfThisThread().iNum, 0);
    EXPECT_EQ(numprintedOfThisThread(), 0);
    const std::vector<std::string> all = a.loggedRequests();
    const std::vector<std::string> requests(all.begin() + static_cast<long>(before), all.end());
    const std::vector<std::string> expected{std::string("GETNEXT ") + kProfileTableOid,
                                            std::string("GET ") + kProfileTableOid};
    EXPECT_EQ(requests, expected);
    EXPECT_EQ(readCurrent()->rgb.iNum, 0);  // the merge wrote the (empty) list
}

TEST_F(WalkAgainstSnmpsim, RowsOneAndThreeCountTwoAndOnlyTheFirstTwoSlotsMerge)
{
    ASSERT_EQ(walk(walkArgs(agent("rows-1-and-3").address())), 0);
    EXPECT_EQ(spoolListOfThisThread().iNum, 2);
    EXPECT_EQ(spoolListOfThisThread().litem[0].iIndexOnDevice, 101);
    EXPECT_EQ(spoolListOfThisThread().litem[1].iIndexOnDevice, 0);
    EXPECT_EQ(spoolListOfThisThread().litem[2].iIndexOnDevice, 103);
    const auto lists = readCurrent();
    EXPECT_EQ(lists->rgb.iNum, 1);
    EXPECT_EQ(lists->sim.iNum, 0);  // row 3 (class 3) lies beyond iNum
}

TEST_F(WalkAgainstSnmpsim, IndexOfTheWrongTypeIsNotStored)
{
    ASSERT_EQ(walk(walkArgs(agent("index-wrong-type").address())), 0);
    EXPECT_EQ(spoolListOfThisThread().iNum, 1);
    EXPECT_EQ(spoolListOfThisThread().litem[1].iIndexOnDevice, 0);
    EXPECT_STREQ(spoolListOfThisThread().litem[1].FileName, "PROF2.ICC");  // the row's other columns are
}

TEST_F(WalkAgainstSnmpsim, LongProfileNameKeepsItsFirst31Bytes)
{
    ASSERT_EQ(walk(walkArgs(agent("long-name").address())), 0);
    EXPECT_STREQ(spoolListOfThisThread().litem[0].ProfileName, "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234");
}

TEST_F(WalkAgainstSnmpsim, UnknownOptionLetterIsReportedAndTheWalkGoesOn)
{
    std::memset(debugMessageOfThisThread(), 0, kDebugMessageSize);
    ASSERT_EQ(walk(walkArgs(agent("rows-1-3").address(), {"-Cxp"})), 0);
    EXPECT_STREQ(debugMessageOfThisThread(), "Unknown flag passed to -C: x\n");
    EXPECT_EQ(spoolListOfThisThread().iNum, 3);
}

}  // namespace
