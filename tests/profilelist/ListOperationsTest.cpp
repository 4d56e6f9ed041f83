// Writing one class, the merge for pap:// and usb:// queues, the probe, the
// durable replace, swap, exist and remove, and the list passes.
#include "ListTestSupport.h"

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace listtest;

namespace {

class ListOperations : public ::testing::Test {
protected:
    void SetUp() override
    {
        useTestPaths();
        ::unlink(current().c_str());
        ::unlink(previous().c_str());
    }
    std::string current() const { return QV_PLIST_PROFILE_PATH; }
    std::string previous() const { return QV_PLIST_PROFILE_PREV_PATH; }
};

TEST_F(ListOperations, WriteOneClassKeepsTheOthers)
{
    Lists file;
    fillVaried(file);
    ASSERT_EQ(QVPListWriteProfile_All(file.rgb(), file.sim(), file.dst()), 0);

    auto sim = emptyList();
    add(*sim, item(501, 6, "NEW.ICC", "New", 4));
    Lists outs;
    fillVaried(outs);  // overwritten whole
    ASSERT_EQ(QVPListWriteProfile_Dict(sim.get(), kClassSIM, outs.rgb(), outs.sim(), outs.dst()), 0);

    Lists expected;
    fillVaried(expected);
    for (int c = 0; c < kProfileClassCount; ++c)
        for (auto& it : expected[c].litem)
            it.iDriver = 0;
    std::memcpy(expected.sim(), sim.get(), sizeof(ProfileList));
    Lists back;
    ASSERT_EQ(QVPListReadProfile_All(back.rgb(), back.sim(), back.dst()), 0);
    for (int c = 0; c < kProfileClassCount; ++c) {
        EXPECT_TRUE(sameList(back[c], expected[c])) << c;
        EXPECT_TRUE(sameList(outs[c], expected[c])) << c;
    }

    // The given list may also be its own out.
    add(*sim, item(502, 5, "TWO.ICC", "Two", 5));
    auto copy = emptyList();
    std::memcpy(copy.get(), sim.get(), sizeof(ProfileList));
    ASSERT_EQ(QVPListWriteProfile_Dict(sim.get(), kClassSIM, nullptr, sim.get(), nullptr), 0);
    EXPECT_TRUE(sameList(*sim, *copy));

    EXPECT_EQ(QVPListWriteProfile_Dict(sim.get(), 3, nullptr, nullptr, nullptr), -1);
}

TEST_F(ListOperations, WriteOneClassWithoutAFileStartsFromEmptyLists)
{
    auto dst = emptyList();
    add(*dst, item(1, 4, "D.icc", "D", 5));
    Lists outs;
    fillVaried(outs);
    ASSERT_EQ(QVPListWriteProfile_Dict(dst.get(), kClassDST, outs.rgb(), outs.sim(), outs.dst()), 0);
    EXPECT_TRUE(sameList(outs[0], *emptyList()));
    EXPECT_TRUE(sameList(outs[1], *emptyList()));
    EXPECT_TRUE(sameList(outs[2], *dst));
}

TEST_F(ListOperations, MergeKeepsHiddenDeviceEntriesFirst)
{
    // File: three code-4 entries the edited list does not hold.
    Lists file;
    for (int n = 0; n < 3; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "DEV%d.icc", n);
        add(file[0], item(n + 1, 4, name, name, 4));
    }
    add(file[0], item(9, 3, "SHOWN.icc", "not confirmed", 4));
    ASSERT_EQ(QVPListWriteProfile_All(file.rgb(), file.sim(), file.dst()), 0);

    Lists edited;
    for (int n = 0; n < 499; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "E%03d.icc", n);
        add(edited[0], item(500 + n, 6, name, name, 5));
    }
    Lists deleted;
    Lists out;
    EXPECT_EQ(QVPListMappingProfile_All_Pap(edited.rgb(), edited.sim(), edited.dst(), out.rgb(), out.sim(),
                                            out.dst(), deleted.rgb(), deleted.sim(), deleted.dst()),
              0);
    EXPECT_EQ(out[0].iNum, 500);
    for (int n = 0; n < 3; ++n)
        EXPECT_TRUE(std::memcmp(&out[0].litem[n], &file[0].litem[n], sizeof(ProfileListItem)) == 0) << n;
    for (int n = 3; n < 500; ++n)
        EXPECT_TRUE(std::memcmp(&out[0].litem[n], &edited[0].litem[n - 3], sizeof(ProfileListItem)) == 0) << n;
    EXPECT_EQ(out[1].iNum, 0);

    // Through the writer: the file now holds the merged lists.
    ASSERT_EQ(QVPListWriteProfile_All_Pap(edited.rgb(), edited.sim(), edited.dst(), deleted.rgb(), deleted.sim(),
                                          deleted.dst()),
              0);
    Lists back;
    ASSERT_EQ(QVPListReadProfile_All(back.rgb(), back.sim(), back.dst()), 0);
    EXPECT_TRUE(sameList(back[0], out[0]));
}

TEST(ListMerge, MatchesByFileNameAndLocation)
{
    auto file = emptyList();
    add(*file, item(1, 2, "SAME.icc", "hidden, other location deleted", 4));
    add(*file, item(2, 2, "GONE.icc", "hidden, deleted", 4));
    add(*file, item(3, 4, "EDIT.icc", "shown, edited", 5));
    add(*file, item(4, 1, "OLD.icc", "not confirmed", 4));
    add(*file, item(5, 4, "KEEP.icc", "shown, kept", 5));
    auto edited = emptyList();
    add(*edited, item(3, 6, "EDIT.icc", "renamed", 5));
    add(*edited, item(600, 6, "HAND.icc", "by hand", 4));
    auto deleted = emptyList();
    add(*deleted, item(1, 2, "SAME.icc", "x", 5));
    add(*deleted, item(2, 2, "GONE.icc", "x", 4));
    // Entries past iNum do not count.
    deleted->litem[5] = item(5, 4, "KEEP.icc", "x", 5);

    auto out = emptyList();
    QVPListMapping_Pap(edited.get(), file.get(), out.get(), deleted.get());
    ASSERT_EQ(out->iNum, 4);
    EXPECT_STREQ(out->litem[0].FileName, "SAME.icc");
    EXPECT_STREQ(out->litem[1].FileName, "KEEP.icc");
    EXPECT_STREQ(out->litem[2].ProfileName, "renamed");
    EXPECT_STREQ(out->litem[3].FileName, "HAND.icc");
    EXPECT_EQ(out->litem[4].iInMenu, 0);

    // Out may be the edited list itself; an iNum beyond the capacity is
    // taken as 500.
    edited->iNum = 1000;
    QVPListMapping_Pap(edited.get(), file.get(), edited.get(), nullptr);
    EXPECT_EQ(edited->iNum, 500);
    EXPECT_STREQ(edited->litem[0].FileName, "SAME.icc");
}

TEST_F(ListOperations, ProbeLeavesNoFileBehind)
{
    ASSERT_FALSE(pathExists(current()));
    EXPECT_EQ(QVPListIsAdminProfile(), 1);
    EXPECT_FALSE(pathExists(current()));
    EXPECT_EQ(QVPListExistProfile(), 0);

    writeFile(current(), "content");
    EXPECT_EQ(QVPListIsAdminProfile(), 1);
    EXPECT_EQ(readFile(current()), "content");
    EXPECT_EQ(QVPListExistProfile(), 1);

    // A symbolic link is not followed.
    const std::string target = QVPListProfileDirectory() + "/elsewhere";
    ::unlink(current().c_str());
    ASSERT_EQ(::symlink(target.c_str(), current().c_str()), 0);
    EXPECT_EQ(QVPListIsAdminProfile(), 0);
    EXPECT_FALSE(pathExists(target));
    ::unlink(current().c_str());

    ASSERT_TRUE(QVPListSetServicePaths("alice", "no-such-dir/x") == false);
    EXPECT_EQ(QVPListIsAdminProfile(), 0);
}

TEST_F(ListOperations, FailedWriteLeavesTheOldFile)
{
    Lists lists;
    fillVaried(lists);
    ASSERT_EQ(QVPListWriteProfile_All(lists.rgb(), lists.sim(), lists.dst()), 0);
    const std::string before = readFile(current());
    struct stat st;
    ASSERT_EQ(::stat(current().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0664u);

    // A file-size limit below the new text makes the write fail half way.
    Lists other;
    add(other[0], item(1, 4, "OTHER.icc", "other", 4));
    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const int result = QVPListWriteProfile_All(other.rgb(), other.sim(), other.dst());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result, -1);
    EXPECT_EQ(readFile(current()), before);
    EXPECT_EQ(directoryEntries(QVPListProfileDirectory()), std::vector<std::string>{"alice-rx8240-profile.plist"});

    // Without the limit the same write replaces the file whole.
    ASSERT_EQ(QVPListWriteProfile_All(other.rgb(), other.sim(), other.dst()), 0);
    EXPECT_EQ(readFile(current()), QVPListBuildFileText(other.rgb(), other.sim(), other.dst()));
    EXPECT_EQ(directoryEntries(QVPListProfileDirectory()), std::vector<std::string>{"alice-rx8240-profile.plist"});
}

TEST_F(ListOperations, BackupRestoreDiscard)
{
    // Backup without a current file leaves an empty previous file.
    writeFile(previous(), "stale");
    EXPECT_EQ(QVPListSwapProfile(kSwapBackup), -1);
    ASSERT_TRUE(pathExists(previous()));
    EXPECT_EQ(readFile(previous()), "");

    // Backup of a 200 000-byte file is byte-identical.
    std::string big(200000, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = char(i * 7919 % 251);
    writeFile(current(), big);
    EXPECT_EQ(QVPListSwapProfile(kSwapBackup), 0);
    EXPECT_EQ(readFile(previous()), big);
    EXPECT_EQ(readFile(current()), big);

    // Restore: the previous content becomes current, the previous file goes.
    writeFile(current(), "newer");
    EXPECT_EQ(QVPListSwapProfile(kSwapRestore), 0);
    EXPECT_EQ(readFile(current()), big);
    EXPECT_FALSE(pathExists(previous()));
    // Restore without a previous file keeps the current file.
    EXPECT_EQ(QVPListSwapProfile(kSwapRestore), -1);
    EXPECT_EQ(readFile(current()), big);

    // Discard.
    writeFile(previous(), "old");
    EXPECT_EQ(QVPListSwapProfile(kSwapDiscard), 0);
    EXPECT_FALSE(pathExists(previous()));
    EXPECT_EQ(QVPListSwapProfile(7), -1);
    EXPECT_EQ(readFile(current()), big);
}

TEST_F(ListOperations, Remove)
{
    writeFile(current(), "c");
    writeFile(previous(), "p");
    EXPECT_EQ(QVPListRemove(1), 0);
    EXPECT_TRUE(pathExists(current()));
    EXPECT_TRUE(pathExists(previous()));
    EXPECT_EQ(QVPListRemove(kRemovePrevious), 1);
    EXPECT_FALSE(pathExists(previous()));
    EXPECT_TRUE(pathExists(current()));
    EXPECT_EQ(QVPListRemove(kRemovePrevious), 0);
    EXPECT_EQ(QVPListRemove(kRemoveCurrent), 1);
    EXPECT_FALSE(pathExists(current()));
}

TEST_F(ListOperations, MainAndSubDictionaries)
{
    Lists lists;
    fillVaried(lists);
    ASSERT_EQ(QVPListWriteProfile_All(lists.rgb(), lists.sim(), lists.dst()), 0);
    plist::DictionaryRef rgb, sim, dst;
    ASSERT_EQ(QVPListMappingGetMainDict_FromPlist(&rgb, &sim, &dst), 0);
    ASSERT_TRUE(rgb && sim && dst);
    plist::DictionaryRef fields[6];
    int32_t num = -1;
    ASSERT_EQ(QVPListMappingGetSubDict(*sim, &fields[0], &fields[1], &fields[2], &fields[3], &fields[4], &fields[5],
                                       &num),
              0);
    EXPECT_EQ(num, 40);
    EXPECT_EQ(fields[4]->get("FileName0002"), plist::Value("S002.icc"));
    EXPECT_EQ(fields[3]->get("Location0001"), plist::Value(5));

    // Reading entries from the dictionaries.
    ProfileListItem it;
    std::memset(&it, 0, sizeof it);
    ReadDictionaryIntEntry(*fields[1], "InMenu0003", &it.iInMenu);
    ReadDictionaryStringEntry(*fields[5], "ProfileName0003", it.ProfileName);
    ReadDictionaryIntEntry(*fields[1], "InMenu9999", &it.iIndexOnDevice);
    EXPECT_EQ(it.iInMenu, 4);
    EXPECT_STREQ(it.ProfileName, "S003.icc");
    EXPECT_EQ(it.iIndexOnDevice, 0);
    ReadDictionaryStringEntry(*fields[1], "InMenu0003", it.ProfileName);  // not a string: empty
    EXPECT_STREQ(it.ProfileName, "");

    sim->remove("Location");
    num = -1;
    EXPECT_EQ(QVPListMappingGetSubDict(*sim, &fields[0], &fields[1], &fields[2], &fields[3], &fields[4], &fields[5],
                                       &num),
              -1);
    EXPECT_EQ(num, -1);

    writeFile(current(), "not xml");
    EXPECT_EQ(QVPListMappingGetMainDict_FromPlist(&rgb, &sim, &dst), -1);
}

struct PassCase {
    const char* name;
    ProfileListItem before;
    ProfileListItem after;
    int iNumChange;
};

TEST(ListPasses, CleanAndSalvageSlotByCondition)
{
    const PassCase clean[] = {
        {"no index, named, code 4", item(0, 4, "A.icc", "A", 4), item(501, 3, "A.icc", "A", 4), 0},
        {"no index, named, code 3", item(0, 3, "A.icc", "A", 4), item(501, 3, "A.icc", "A", 4), 0},
        {"no index, named, code 1", item(0, 1, "A.icc", "A", 4), ProfileListItem{}, -1},
        {"no index, named, code 6", item(0, 6, "A.icc", "A", 5), ProfileListItem{}, -1},
        {"no index, no name", item(0, 4, "", "A", 4), item(0, 4, "", "A", 4), 0},
        {"index, named", item(5, 1, "A.icc", "A", 4), item(5, 1, "A.icc", "A", 4), 0},
    };
    for (const auto& c : clean) {
        auto list = emptyList();
        add(*list, item(9, 4, "FIRST.icc", "first", 4));
        add(*list, c.before);
        QVPListCleanProfile_Dict(list.get());
        EXPECT_EQ(list->iNum, 2 + c.iNumChange) << c.name;
        EXPECT_TRUE(std::memcmp(&list->litem[1], &c.after, sizeof(ProfileListItem)) == 0) << c.name;
        EXPECT_STREQ(list->litem[0].FileName, "FIRST.icc") << c.name;
    }

    const PassCase salvage[] = {
        {"code 3, index, named", item(4, 3, "A.icc", "A", 4), item(4, 6, "A.icc", "A", 4), 0},
        {"code 3, no index", item(0, 3, "A.icc", "A", 4), item(0, 3, "A.icc", "A", 4), 0},
        {"code 3, no name", item(4, 3, "", "A", 4), item(4, 3, "", "A", 4), 0},
    };
    for (const auto& c : salvage) {
        auto list = emptyList();
        add(*list, c.before);
        QVPListSalvage_Dict(list.get());
        EXPECT_TRUE(std::memcmp(&list->litem[0], &c.after, sizeof(ProfileListItem)) == 0) << c.name;
    }
    for (int code : {1, 2, 4, 5, 6}) {
        auto list = emptyList();
        add(*list, item(4, code, "A.icc", "A", 4));
        QVPListSalvage_Dict(list.get());
        EXPECT_EQ(list->litem[0].iInMenu, code);
    }
}

TEST(ListPasses, PaddingCompactsStably)
{
    auto list = emptyList();
    list->litem[0] = item(1, 4, "A.icc", "A", 4, 7, 3);
    list->litem[2] = item(2, 6, "B.icc", "B", 5, 8, 2);
    list->litem[3] = item(3, 1, "C.icc", "C", 4, 9, 1);
    list->litem[499] = item(4, 5, "D.icc", "D", 5, 2, 3);
    list->iNum = 4;
    const ProfileListItem b = list->litem[2], c = list->litem[3], d = list->litem[499];
    QVPListPaddingProfile_Dict(list.get());
    EXPECT_EQ(list->iNum, 4);
    EXPECT_STREQ(list->litem[0].FileName, "A.icc");
    EXPECT_TRUE(std::memcmp(&list->litem[1], &b, sizeof b) == 0);
    EXPECT_TRUE(std::memcmp(&list->litem[2], &c, sizeof c) == 0);
    EXPECT_TRUE(std::memcmp(&list->litem[3], &d, sizeof d) == 0);
    for (int n = 4; n < kProfileListCapacity; ++n) {
        EXPECT_EQ(list->litem[n].iInMenu, 0) << n;
        EXPECT_EQ(list->litem[n].FileName[0], '\0') << n;
        EXPECT_EQ(list->litem[n].iIndexOnDevice, 0) << n;
        EXPECT_EQ(list->litem[n].iDriver, 0) << n;
    }

    // The three passes as discovery applies them.
    auto mixed = emptyList();
    add(*mixed, item(0, 4, "KEPT.icc", "kept", 4));
    add(*mixed, item(0, 5, "DROPPED.icc", "dropped", 4));
    add(*mixed, item(7, 3, "DEV.icc", "device", 5));
    QVPListCleanProfile_Dict(mixed.get());
    QVPListPaddingProfile_Dict(mixed.get());
    QVPListSalvage_Dict(mixed.get());
    EXPECT_EQ(mixed->iNum, 2);
    EXPECT_EQ(mixed->litem[0].iIndexOnDevice, 501);
    EXPECT_EQ(mixed->litem[0].iInMenu, 6);
    EXPECT_STREQ(mixed->litem[1].FileName, "DEV.icc");
    EXPECT_EQ(mixed->litem[1].iInMenu, 6);
    EXPECT_EQ(mixed->litem[2].iInMenu, 0);
}

}  // namespace
