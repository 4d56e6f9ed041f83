// The merge of the spool list into the current list file, through the real
// store on a list file below the test root.
#include "discovery/MibWalk.h"
#include "discovery/SpoolRestructure.h"
#include "profilelist/ServicePaths.h"
#include "tests/discovery/SnmpTestAgents.h"
#include "tests/support/Files.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new snmptest::WalkEnvironment);

struct Entry {
    std::string file;
    int32_t location = kLocationDisk;
    int32_t code = 0;  // iInMenu; unused for spool entries
    int32_t deviceClass = 1;
    int32_t index = 7;
};

ProfileListItem makeItem(const Entry& e)
{
    ProfileListItem item{};
    item.iIndexOnDevice = e.index;
    item.iInMenu = e.code;
    item.iProfileClass = e.deviceClass;
    std::snprintf(item.FileName, sizeof item.FileName, "%s", e.file.c_str());
    std::snprintf(item.ProfileName, sizeof item.ProfileName, "name of %s", e.file.c_str());
    item.iLocation = e.location;
    return item;
}

struct Lists {
    std::array<ProfileList, 3> list;
    Lists() { std::memset(list.data(), 0, sizeof(ProfileList) * 3); }
};

void fill(ProfileList* list, const std::vector<Entry>& entries)
{
    for (const Entry& e : entries)
        list->litem[list->iNum++] = makeItem(e);
}

class SpoolRestructure : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::remove(QV_PLIST_PROFILE_PATH);
        std::memset(&spoolListOfThisThread(), 0, sizeof(ProfileList));
    }

    void writeCurrent(const std::vector<Entry>& rgb, const std::vector<Entry>& sim = {},
                      const std::vector<Entry>& dst = {})
    {
        auto lists = std::make_unique<Lists>();
        fill(&lists->list[0], rgb);
        fill(&lists->list[1], sim);
        fill(&lists->list[2], dst);
        ASSERT_EQ(QVPListWriteProfile_All(&lists->list[0], &lists->list[1], &lists->list[2]), 0);
    }

    void report(const std::vector<Entry>& entries) { fill(&spoolListOfThisThread(), entries); }

    std::unique_ptr<Lists> merge(int failed)
    {
        EXPECT_EQ(vRestructPlistSpool2Current(failed), 0);
        auto lists = std::make_unique<Lists>();
        EXPECT_EQ(QVPListReadProfile_All(&lists->list[0], &lists->list[1], &lists->list[2]), 0);
        return lists;
    }
};

// The codes of the entries holding the file name at the location, in slot order.
std::vector<int32_t> codesOf(const ProfileList& list, const std::string& file, int32_t location = kLocationDisk)
{
    std::vector<int32_t> codes;
    for (int i = 0; i < list.iNum; ++i)
        if (file == list.litem[i].FileName && list.litem[i].iLocation == location)
            codes.push_back(list.litem[i].iInMenu);
    return codes;
}

struct StateCase {
    int32_t before;
    bool reported;
    int failed;
    std::optional<int32_t> after;  // nullopt: the entry is gone
};

class ListedEntryState : public SpoolRestructure, public ::testing::WithParamInterface<StateCase> {};

TEST_P(ListedEntryState, EndsWithTheCodeOfItsConfirmation)
{
    const StateCase c = GetParam();
    writeCurrent({{"LISTED.ICC", kLocationDisk, c.before}});
    if (c.reported)
        report({{"LISTED.ICC", kLocationDisk}});
    const auto lists = merge(c.failed);
    const std::vector<int32_t> codes = codesOf(lists->list[kClassRGB], "LISTED.ICC");
    if (c.after)
        EXPECT_EQ(codes, std::vector<int32_t>{*c.after});
    else
        EXPECT_TRUE(codes.empty());
}

INSTANTIATE_TEST_SUITE_P(Merge, ListedEntryState,
                         ::testing::Values(StateCase{3, true, 0, 4}, StateCase{1, true, 0, 2},
                                           StateCase{2, true, 0, 2}, StateCase{4, true, 0, 4},
                                           StateCase{5, true, 0, 2}, StateCase{6, true, 0, 4},
                                           // no longer reported: salvage turns a shown entry into 6
                                           StateCase{3, false, 0, 6}, StateCase{4, false, 0, 6},
                                           StateCase{1, false, 0, 1}, StateCase{2, false, 0, 1},
                                           StateCase{5, false, 0, 5},
                                           // failed walk
                                           StateCase{1, false, 1, std::nullopt},
                                           StateCase{2, false, 1, std::nullopt}, StateCase{4, false, 1, 6},
                                           StateCase{3, false, 1, 6}, StateCase{6, false, 1, 6}));

TEST_F(SpoolRestructure, DeviceClassesGoToTheirLists)
{
    writeCurrent({});
    report({{"RGB1.ICC", kLocationDisk, 0, 1},
            {"RGB2.ICC", kLocationCard, 0, 2},
            {"SIMDST.ICC", kLocationDisk, 0, 3},
            {"CLASS4.ICC", kLocationDisk, 0, 4},
            {"LOC3.ICC", 3, 0, 1}});
    const auto lists = merge(0);
    const ProfileList& rgb = lists->list[kClassRGB];
    EXPECT_EQ(rgb.iNum, 2);
    EXPECT_EQ(codesOf(rgb, "RGB1.ICC"), std::vector<int32_t>{2});
    EXPECT_EQ(codesOf(rgb, "RGB2.ICC", kLocationCard), std::vector<int32_t>{2});
    for (int cls : {kClassSIM, kClassDST}) {
        EXPECT_EQ(lists->list[cls].iNum, 1);
        EXPECT_EQ(codesOf(lists->list[cls], "SIMDST.ICC"), std::vector<int32_t>{2});
        EXPECT_EQ(lists->list[cls].litem[0].iProfileClass, 3);
    }
    // The new entry carries the device's fields.
    EXPECT_STREQ(rgb.litem[0].ProfileName, "name of RGB1.ICC");
    EXPECT_EQ(rgb.litem[0].iIndexOnDevice, 7);
}

TEST_F(SpoolRestructure, SameNameOnAnotherLocationIsAnotherProfile)
{
    writeCurrent({{"SAME.ICC", kLocationDisk, 4}});
    report({{"SAME.ICC", kLocationCard}});
    const auto lists = merge(0);
    EXPECT_EQ(codesOf(lists->list[kClassRGB], "SAME.ICC", kLocationDisk), std::vector<int32_t>{6});
    EXPECT_EQ(codesOf(lists->list[kClassRGB], "SAME.ICC", kLocationCard), std::vector<int32_t>{2});
}

TEST_F(SpoolRestructure, ConfirmingKeepsTheListedFields)
{
    Entry listed{"KEEP.ICC", kLocationDisk, 3, 1, 9};
    writeCurrent({listed});
    report({{"KEEP.ICC", kLocationDisk, 0, 2, 44}});
    const auto lists = merge(0);
    const ProfileListItem& item = lists->list[kClassRGB].litem[0];
    EXPECT_EQ(item.iInMenu, 4);
    EXPECT_EQ(item.iIndexOnDevice, 9);
    EXPECT_EQ(item.iProfileClass, 1);
}

TEST_F(SpoolRestructure, ListedNameWithFourCharacterExtensionIsRemoved)
{
    for (int32_t code = 1; code <= 6; ++code) {
        SCOPED_TRACE(code);
        writeCurrent({{"WIDE.ICCX", kLocationDisk, code}, {"FINE.ICC", kLocationDisk, 4}},
                     {{"WIDE.ICCX", kLocationDisk, code}});
        report({{"FINE.ICC", kLocationDisk}});
        const auto lists = merge(0);
        EXPECT_TRUE(codesOf(lists->list[kClassRGB], "WIDE.ICCX").empty());
        EXPECT_EQ(codesOf(lists->list[kClassRGB], "FINE.ICC"), std::vector<int32_t>{4});
        EXPECT_EQ(lists->list[kClassSIM].iNum, 0);
        std::memset(&spoolListOfThisThread(), 0, sizeof(ProfileList));
    }
}

TEST_F(SpoolRestructure, ReportedNameTheDeviceCannotHoldIsNotMerged)
{
    writeCurrent({});
    report({{"BAD NAME.ICC", kLocationDisk}, {".ICC", kLocationDisk}, {"OK.ICC", kLocationDisk}});
    const auto lists = merge(0);
    EXPECT_EQ(lists->list[kClassRGB].iNum, 1);
    EXPECT_STREQ(lists->list[kClassRGB].litem[0].FileName, "OK.ICC");
}

TEST_F(SpoolRestructure, FullListDropsANewProfile)
{
    std::vector<Entry> full;
    for (int i = 0; i < kProfileListCapacity; ++i)
        full.push_back({"P" + std::to_string(i) + ".ICC", kLocationDisk, 4});
    writeCurrent(full);
    report({{"NEW.ICC", kLocationDisk}, {"P499.ICC", kLocationDisk}});
    const auto lists = merge(0);
    EXPECT_EQ(lists->list[kClassRGB].iNum, kProfileListCapacity);
    EXPECT_TRUE(codesOf(lists->list[kClassRGB], "NEW.ICC").empty());
    EXPECT_EQ(codesOf(lists->list[kClassRGB], "P499.ICC"), std::vector<int32_t>{4});
    EXPECT_EQ(codesOf(lists->list[kClassRGB], "P0.ICC"), std::vector<int32_t>{6});
}

TEST_F(SpoolRestructure, MissingCurrentFileIsWrittenFromTheSpoolList)
{
    report({{"ONLY.ICC", kLocationCard, 0, 3}});
    const auto lists = merge(1);
    EXPECT_EQ(codesOf(lists->list[kClassSIM], "ONLY.ICC", kLocationCard), std::vector<int32_t>{2});
    EXPECT_EQ(lists->list[kClassRGB].iNum, 0);
}

// What is planted at the list's name is never followed, waited on or read
// whole: a link or a FIFO refuses the merge at once and stays as it was; a
// file over the size cap reads as a missing list.
TEST_F(SpoolRestructure, PlantedFilesAtTheListNameAreNotRead)
{
    namespace fs = std::filesystem;
    const std::string current = QV_PLIST_PROFILE_PATH;
    const std::string elsewhere = current + ".elsewhere";
    writeCurrent({{"LINKED.ICC", kLocationDisk, 4}});
    fs::rename(current, elsewhere);
    const std::string linkedText = rxtest::readFile(elsewhere);
    struct Case {
        const char* what;
        std::function<void()> plant;
        int result;
        fs::file_type after;
    };
    const Case cases[] = {
        {"symbolic link", [&] { fs::create_symlink(elsewhere, current); }, -1, fs::file_type::symlink},
        {"FIFO", [&] { ASSERT_EQ(mkfifo(current.c_str(), 0600), 0); }, -1, fs::file_type::fifo},
        {"over the cap", [&] { fs::resize_file((std::ofstream(current), current), kMaxListFileSize + 1); }, 0,
         fs::file_type::regular},
    };
    for (const Case& c : cases) {
        fs::remove(current);
        c.plant();
        std::memset(&spoolListOfThisThread(), 0, sizeof(ProfileList));
        report({{"ONLY.ICC", kLocationCard, 0, 3}});
        EXPECT_EQ(vRestructPlistSpool2Current(0), c.result) << c.what;
        EXPECT_EQ(fs::symlink_status(current).type(), c.after) << c.what;
        EXPECT_EQ(rxtest::readFile(elsewhere), linkedText) << c.what;
    }
    // The oversize file was replaced by the spool list alone.
    auto lists = std::make_unique<Lists>();
    ASSERT_EQ(QVPListReadProfile_All(&lists->list[0], &lists->list[1], &lists->list[2]), 0);
    EXPECT_EQ(codesOf(lists->list[kClassSIM], "ONLY.ICC", kLocationCard), std::vector<int32_t>{2});
    EXPECT_TRUE(codesOf(lists->list[kClassRGB], "LINKED.ICC").empty());
    fs::remove(elsewhere);
}

// Regression: a rejected name in the SIM or DST list left a gap that hid the
// last entry from the search, so a reported profile was listed twice.
TEST_F(SpoolRestructure, RemovedNameInSimListDoesNotDuplicateAReportedProfile)
{
    const std::vector<Entry> listed{{"BAD.ICCX", kLocationDisk, 4, 3}, {"GOOD.ICC", kLocationDisk, 3, 3}};
    writeCurrent({}, listed, listed);
    report({{"GOOD.ICC", kLocationDisk, 0, 3}});
    const auto lists = merge(0);
    for (int cls : {kClassSIM, kClassDST}) {
        SCOPED_TRACE(cls);
        EXPECT_EQ(lists->list[cls].iNum, 1);
        EXPECT_EQ(codesOf(lists->list[cls], "GOOD.ICC"), std::vector<int32_t>{4});
    }
}

// Regression: after a failed walk the reset frees entries with codes 1 and 2
// but keeps their names; confirming such a freed slot lost a profile that the
// device did report before failing.
TEST_F(SpoolRestructure, FailedWalkKeepsAProfileReportedBeforeTheFailure)
{
    writeCurrent({{"EARLY.ICC", kLocationDisk, 1}, {"SHOWN.ICC", kLocationDisk, 4}});
    report({{"EARLY.ICC", kLocationDisk}});
    const auto lists = merge(1);
    EXPECT_EQ(codesOf(lists->list[kClassRGB], "EARLY.ICC"), std::vector<int32_t>{2});
    EXPECT_EQ(codesOf(lists->list[kClassRGB], "SHOWN.ICC"), std::vector<int32_t>{6});
}

// Regression: after a failed walk a full list's count stays at 500 while its
// slots are freed and refilled; the search must stay inside the list.
TEST_F(SpoolRestructure, FailedWalkRefillingAFullListStaysInsideIt)
{
    std::vector<Entry> full;
    for (int i = 0; i < kProfileListCapacity; ++i)
        full.push_back({"OLD" + std::to_string(i) + ".ICC", kLocationDisk, 1});
    writeCurrent(full);
    std::vector<Entry> reported;
    for (int i = 0; i < 3; ++i)
        reported.push_back({"NEW" + std::to_string(i) + ".ICC", kLocationDisk});
    reported.push_back({"NEW0.ICC", kLocationDisk});  // reported twice: listed once
    report(reported);
    const auto lists = merge(1);
    EXPECT_EQ(lists->list[kClassRGB].iNum, 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(codesOf(lists->list[kClassRGB], "NEW" + std::to_string(i) + ".ICC"), std::vector<int32_t>{2});
}

TEST_F(SpoolRestructure, ResetTable)
{
    struct Row {
        int32_t before, afterSuccess, afterFailure;
    };
    for (const Row r : {Row{0, 0, 0}, Row{1, 1, 0}, Row{2, 1, 0}, Row{3, 3, 3}, Row{4, 3, 6}, Row{5, 5, 5},
                        Row{6, 6, 6}, Row{7, 7, 7}}) {
        SCOPED_TRACE(r.before);
        for (int failed : {0, 1, -1}) {
            auto lists = std::make_unique<Lists>();
            ProfileList& list = lists->list[0];
            fill(&list, {{"A.ICC", kLocationDisk, r.before}});
            list.litem[kProfileListCapacity - 1] = list.litem[0];
            vDeleteMIBprofilesTemporary(failed, &list);
            const int32_t expected = failed ? r.afterFailure : r.afterSuccess;
            EXPECT_EQ(list.litem[0].iInMenu, expected);
            EXPECT_EQ(list.litem[kProfileListCapacity - 1].iInMenu, expected);
            EXPECT_STREQ(list.litem[0].FileName, "A.ICC");  // freeing keeps the fields
            EXPECT_EQ(list.iNum, 1);
        }
    }
}

TEST(FileNameJudgement, Names)
{
    const std::string base27(27, 'B');
    struct Case {
        std::string name;
        bool accepted;
    };
    const std::vector<Case> cases{
        {base27 + ".ICC", true},
        {base27 + "B.ICC", false},
        {base27, true},
        {base27 + "B", false},
        {".ICC", false},
        {"NAME.", true},
        {"NAME.ICCX", false},
        {"A.B.C", true},       // the extension is everything after the first dot
        {"A.B.CD", false},
        {"A B.ICC", false},
        {"A@B.ICC", false},
        {"A", true},
        {"!#$%&'()-^_`{}~.ICC", true},
        {"A+B.ICC", false},
        {"A/B.ICC", false},
        {"caf\xC3\xA9.ICC", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bJudgement8point3Format(c.name.c_str()), c.accepted) << c.name;
    EXPECT_FALSE(bJudgement8point3Format(nullptr));
}

TEST(FileNameJudgement, Characters)
{
    const std::string permitted =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789!#$%&'()-.^_`{}~";
    for (int c = -1; c <= 256; ++c)
        EXPECT_EQ(FileNameFilter(c), c > 0 && c < 128 && permitted.find(static_cast<char>(c)) != std::string::npos)
            << c;
}

}  // namespace
