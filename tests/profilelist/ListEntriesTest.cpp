// Entries changed by hand, without the window: finding a file, adding,
// editing, removing, and the deleted list's bound.
#include "ListTestSupport.h"

#include "profilelist/ProfileListEntries.h"

using namespace listtest;

namespace {

TEST(ListEntries, FindIsExactPerLocationAndSkipsTheEditedSlot)
{
    auto list = emptyList();
    add(*list, item(1, 4, "ABC.ICC", "a", kLocationDisk));
    add(*list, item(2, 6, "ABC.ICC", "b", kLocationCard));
    struct Case {
        const char* file;
        int32_t location;
        int except;
        int found;
    } cases[] = {
        {"ABC.ICC", kLocationDisk, -1, 0}, {"ABC.ICC", kLocationCard, -1, 1}, {"abc.icc", kLocationDisk, -1, -1},
        {"ABC.IC", kLocationDisk, -1, -1}, {"ABC.ICC", kLocationDisk, 0, -1}, {"ABC.ICC", kLocationCard, 0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QVPListFindFile(list.get(), c.file, c.location, c.except), c.found)
            << c.file << " " << c.location << " except " << c.except;
    EXPECT_EQ(QVPListFindFile(nullptr, "ABC.ICC", kLocationDisk), -1);
}

TEST(ListEntries, AddTakesTheFirstFreeSlotWithTheHandMadeValues)
{
    auto list = emptyList();
    for (int i = 0; i < 3; ++i)
        add(*list, item(i + 1, 4, "D.ICC", "d", kLocationDisk));
    ASSERT_EQ(QVPListAddManualEntry(list.get(), "NEW.ICC", "New", kLocationCard), 3);
    const ProfileListItem& added = list->litem[3];
    EXPECT_EQ(added.iIndexOnDevice, 503);
    EXPECT_EQ(added.iInMenu, kStateManualShown);
    EXPECT_EQ(added.iProfileClass, 2);
    EXPECT_EQ(added.iDriver, 3);
    EXPECT_STREQ(added.FileName, "NEW.ICC");
    EXPECT_STREQ(added.ProfileName, "New");
    EXPECT_EQ(added.iLocation, kLocationCard);
    EXPECT_EQ(list->iNum, 4);

    // A freed slot inside the used ones is taken first; a full list takes none.
    list->litem[1].iInMenu = kStateEmpty;
    EXPECT_EQ(QVPListAddManualEntry(list.get(), "X.ICC", "x", kLocationDisk), 1);
    EXPECT_EQ(list->litem[1].iIndexOnDevice, 501);
    auto full = emptyList();
    for (int i = 0; i < kProfileListCapacity; ++i)
        add(*full, item(i + 1, 1, "F.ICC", "f", kLocationDisk));
    EXPECT_EQ(QVPListAddManualEntry(full.get(), "Y.ICC", "y", kLocationDisk), -1);
    EXPECT_EQ(full->iNum, kProfileListCapacity);
}

TEST(ListEntries, EditChangesOnlyTheDisplayNameOfADeviceProfile)
{
    for (int32_t state : {1, 2, 3, 4, 5, 6}) {
        ProfileListItem entry = item(7, state, "OLD.ICC", "Old", kLocationDisk);
        QVPListEditEntry(&entry, "NEW.ICC", "New", kLocationCard);
        const bool device = state <= 4;
        EXPECT_STREQ(entry.ProfileName, "New") << state;
        EXPECT_STREQ(entry.FileName, device ? "OLD.ICC" : "NEW.ICC") << state;
        EXPECT_EQ(entry.iLocation, device ? kLocationDisk : kLocationCard) << state;
    }
}

TEST(ListEntries, RemoveMovesTheLaterEntriesUp)
{
    auto list = emptyList();
    for (const char* name : {"A.ICC", "B.ICC", "C.ICC"})
        add(*list, item(1, 6, name, name, kLocationDisk));
    EXPECT_FALSE(QVPListRemoveEntry(list.get(), 3));
    EXPECT_FALSE(QVPListRemoveEntry(list.get(), -1));
    ASSERT_TRUE(QVPListRemoveEntry(list.get(), 1));
    EXPECT_EQ(list->iNum, 2);
    EXPECT_STREQ(list->litem[0].FileName, "A.ICC");
    EXPECT_STREQ(list->litem[1].FileName, "C.ICC");
    EXPECT_EQ(list->litem[2].iInMenu, kStateEmpty);
    EXPECT_STREQ(list->litem[2].FileName, "");
}

TEST(ListEntries, DeletedListTakesNoMoreThanItsCapacity)
{
    auto deleted = emptyList();
    const ProfileListItem entry = item(1, 3, "A.ICC", "a", kLocationDisk);
    deleted->iNum = kProfileListCapacity - 1;
    EXPECT_TRUE(QVPListAppendEntry(deleted.get(), entry));
    EXPECT_STREQ(deleted->litem[kProfileListCapacity - 1].FileName, "A.ICC");
    EXPECT_FALSE(QVPListAppendEntry(deleted.get(), entry));
    deleted->iNum = -1;
    EXPECT_FALSE(QVPListAppendEntry(deleted.get(), entry));
    EXPECT_FALSE(QVPListAppendEntry(nullptr, entry));
}

}  // namespace
