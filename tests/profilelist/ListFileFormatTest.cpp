// The list file format: what is written, and how files read back.
#include "ListTestSupport.h"

#include "platform/plist/PlistXml.h"
#include "profilelist/ListFileReader.h"

using namespace listtest;

namespace {

using ListFileFormat = ListFileTest;

TEST_F(ListFileFormat, EmptyListsRoundTripWithAllSlots)
{
    Lists empty;
    ASSERT_EQ(QVPListWriteProfile_All(empty.rgb(), empty.sim(), empty.dst()), 0);

    plist::ReadResult result;
    plist::Value root = plist::readXmlFile(current(), &result);
    ASSERT_TRUE(root.isDictionary()) << plist::describe(result);
    EXPECT_EQ(root.dictionary()->get("PlistVersion"), plist::Value(1));
    for (int c = 0; c < kProfileClassCount; ++c) {
        auto cls = root.dictionary()->dictionary(QVPListClassKey(c));
        ASSERT_TRUE(cls) << QVPListClassKey(c);
        EXPECT_EQ(cls->get("iNum"), plist::Value(0));
        for (const char* field : {"IndexOnDevice", "InMenu", "ProfileClass", "Location", "FileName", "ProfileName"}) {
            auto fd = cls->dictionary(field);
            ASSERT_TRUE(fd) << field;
            EXPECT_EQ(fd->size(), size_t(kProfileListCapacity)) << field;
            bool isString = std::string(field).find("Name") != std::string::npos;
            for (int n : {0, 1, 250, 498, 499}) {
                char key[32];
                std::snprintf(key, sizeof key, "%s%04d", field, n);
                EXPECT_EQ(fd->get(key), isString ? plist::Value("") : plist::Value(0)) << key;
            }
        }
    }

    Lists back;
    back[0].iNum = 9;  // must be corrected by the read
    ASSERT_EQ(QVPListReadProfile_All(back.rgb(), back.sim(), back.dst()), 0);
    for (int c = 0; c < kProfileClassCount; ++c)
        EXPECT_TRUE(sameList(back[c], empty[c])) << c;
}

TEST_F(ListFileFormat, VariedListsRoundTripExceptDriver)
{
    Lists lists;
    fillVaried(lists);
    ASSERT_EQ(QVPListWriteProfile_All(lists.rgb(), lists.sim(), lists.dst()), 0);
    const std::string text = readFile(current());
    EXPECT_EQ(text.find("Driver"), std::string::npos);

    Lists back;
    ASSERT_EQ(QVPListReadProfile_All(back.rgb(), back.sim(), back.dst()), 0);
    for (int c = 0; c < kProfileClassCount; ++c) {
        EXPECT_EQ(back[c].iNum, lists[c].iNum);
        for (int n = 0; n < kProfileListCapacity; ++n)
            lists[c].litem[n].iDriver = 0;  // never written
        EXPECT_TRUE(sameList(back[c], lists[c])) << c;
    }
}

TEST_F(ListFileFormat, FileTextIsTheSerialisedClassDictionaries)
{
    Lists lists;
    fillVaried(lists);
    // A name that is not valid UTF-8 is left out of its field dictionary.
    std::memcpy(lists[1].litem[3].ProfileName, "bad\xC3(", 6);
    auto root = plist::Dictionary::create();
    for (int c = 0; c < kProfileClassCount; ++c) {
        plist::DictionaryRef cls, fields[6];
        auto props = CreatePropsDictionary(c, &lists[c], &cls, &fields[0], &fields[1], &fields[2], &fields[3],
                                           &fields[4], &fields[5]);
        ASSERT_TRUE(props);
        EXPECT_EQ(props->dictionary(QVPListClassKey(c)), cls);
        EXPECT_EQ(fields[1], cls->dictionary("InMenu"));
        EXPECT_EQ(fields[5], cls->dictionary("ProfileName"));
        root->set(QVPListClassKey(c), plist::Value(cls));
    }
    root->set("PlistVersion", plist::Value(1));
    const std::string text = QVPListBuildFileText(lists.rgb(), lists.sim(), lists.dst());
    EXPECT_EQ(text, plist::toXml(plist::Value(root)));
    auto sim = root->dictionary("SIM")->dictionary("ProfileName");
    EXPECT_FALSE(sim->contains("ProfileName0003"));
    EXPECT_TRUE(sim->contains("ProfileName0004"));
    EXPECT_EQ(CreatePropsDictionary(3, lists.rgb(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
              nullptr);
}

// Builds a file from lists, then edits its text.
std::string fileWith(const Lists& lists, const std::string& from, const std::string& to)
{
    std::string text = QVPListBuildFileText(&lists[0], &lists[1], &lists[2]);
    if (!from.empty()) {
        size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos)
            text.replace(at, from.size(), to);
    }
    return text;
}

TEST_F(ListFileFormat, CountBeyondUsedSlotsIsCorrected)
{
    Lists lists;
    for (int n = 0; n < 3; ++n)
        add(lists[0], item(n + 1, 4, "A.icc", "A", 4));
    // A stray entry beyond the used slots: its InMenu is 0, so it is not
    // counted, and normalisation clears it.
    lists[0].litem[7] = item(99, 0, "STRAY.icc", "stray", 5);
    lists[0].iNum = 5;
    writeFile(current(), QVPListBuildFileText(lists.rgb(), lists.sim(), lists.dst()));
    auto list = emptyList();
    ASSERT_EQ(QVPListReadProfile_Dict(list.get(), kClassRGB), 0);
    EXPECT_EQ(list->iNum, 3);
    for (int n = 3; n < kProfileListCapacity; ++n) {
        EXPECT_EQ(list->litem[n].iIndexOnDevice, 0) << n;
        EXPECT_EQ(list->litem[n].FileName[0], '\0') << n;
    }
    EXPECT_EQ(list->litem[2].iIndexOnDevice, 3);
}

TEST_F(ListFileFormat, IncompleteFilesFailAndLeaveListsUntouched)
{
    Lists lists;
    fillVaried(lists);
    // perClass: the result of reading each class alone.
    const struct {
        const char* name;
        std::string text;
        int perClass[3];
    } cases[] = {
        {"no Location in DST", fileWith(lists, "<key>Location</key>\n\t\t<dict>\n\t\t\t<key>Location0000</key>\n\t\t\t<integer>5</integer>",
                                        "<key>Elsewhere</key>\n\t\t<dict>\n\t\t\t<key>Location0000</key>\n\t\t\t<integer>5</integer>"),
         {0, 0, -1}},
        {"no SIM", fileWith(lists, "<key>SIM</key>", "<key>SIMX</key>"), {0, -1, 0}},
        {"InMenu not a dictionary", fileWith(lists, "<key>InMenu</key>\n\t\t<dict>", "<key>InMenu</key>\n\t\t<string>x</string>\n\t\t<key>Unused</key>\n\t\t<dict>"),
         {-1, 0, 0}},
        {"malformed XML", fileWith(lists, "</plist>", "</plst>"), {-1, -1, -1}},
        {"bad integer", fileWith(lists, "<integer>4</integer>", "<integer>4x</integer>"), {-1, -1, -1}},
        {"array root", std::string(plist::kXmlHeader) + "<array/>\n</plist>\n", {-1, -1, -1}},
        {"empty file", "", {-1, -1, -1}},
    };
    for (const auto& c : cases) {
        writeFile(current(), c.text);
        Lists before;
        fillVaried(before);
        Lists target;
        fillVaried(target);
        EXPECT_EQ(QVPListReadProfile_All(target.rgb(), target.sim(), target.dst()), -1) << c.name;
        for (int k = 0; k < 3; ++k)
            EXPECT_TRUE(sameList(target[k], before[k])) << c.name;
        for (int k = 0; k < 3; ++k) {
            auto list = emptyList();
            std::memcpy(list.get(), &before[k], sizeof(ProfileList));
            EXPECT_EQ(QVPListReadProfile_Dict(list.get(), k), c.perClass[k]) << c.name << " class " << k;
            if (c.perClass[k] != 0) {
                EXPECT_TRUE(sameList(*list, before[k])) << c.name << " class " << k;
            }
        }
        // One read of all three classes gives what the three reads give.
        Lists separate, together;
        for (int k = 0; k < 3; ++k)
            QVPListReadProfile_Dict(&separate[k], k);
        QVPListReadProfile_EachClass(together.rgb(), together.sim(), together.dst(), false);
        for (int k = 0; k < 3; ++k)
            EXPECT_TRUE(sameList(together[k], separate[k])) << c.name << " class " << k << ", read together";
    }
    ::unlink(current().c_str());
    auto list = emptyList();
    EXPECT_EQ(QVPListReadProfile_Dict(list.get(), kClassRGB), -1);
    EXPECT_EQ(QVPListReadProfile_Dict(list.get(), 3), -1);
    EXPECT_EQ(QVPListReadProfile_Dict_Pap(list.get(), -1), -1);
}

TEST_F(ListFileFormat, MissingSlotKeyKeepsCallersValue)
{
    Lists lists;
    for (int n = 0; n < 9; ++n)
        add(lists[2], item(n + 1, 3, "F.icc", "F", 5));
    writeFile(current(), fileWith(lists, "<key>Location0007</key>\n\t\t\t<integer>5</integer>\n", ""));
    auto list = emptyList();
    ASSERT_EQ(QVPListReadProfile_Dict(list.get(), kClassDST), 0);
    EXPECT_EQ(list->iNum, 9);
    EXPECT_EQ(list->litem[6].iLocation, 5);
    EXPECT_EQ(list->litem[7].iLocation, 0);
    EXPECT_EQ(list->litem[8].iLocation, 5);
}

TEST_F(ListFileFormat, LongNamesAreCutOnCharacterBoundaries)
{
    const struct {
        const char* name;
        std::string text;
        std::string expected;
    } cases[] = {
        {"40 ASCII bytes", std::string(40, 'a'), std::string(31, 'a')},
        {"31 bytes kept whole", std::string(31, 'b'), std::string(31, 'b')},
        {"2-byte char across the limit", std::string(30, 'c') + "\xC3\xA9", std::string(30, 'c')},
        {"2-byte char ending at 31", std::string(29, 'd') + "\xC3\xA9" + "x", std::string(29, 'd') + "\xC3\xA9"},
        {"3-byte char across the limit", std::string(29, 'e') + "\xE6\x97\xA5", std::string(29, 'e')},
        {"4-byte chars", "\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80"
                         "\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80",
         "\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80"
         "\xF0\x9F\x98\x80"},
        {"escaped ampersands", std::string(35, '&'), std::string(31, '&')},
    };
    for (const auto& c : cases) {
        Lists lists;
        add(lists[0], item(1, 4, "X.icc", "X", 4));
        plist::Value escapedText(c.text);
        auto dictText = plist::toXml(escapedText);
        // The <string> element as the writer escapes it.
        auto start = dictText.find("<string>");
        auto end = dictText.find("</string>");
        std::string element = dictText.substr(start, end + 9 - start);
        writeFile(current(), fileWith(lists, "<string>X</string>", element));
        auto list = emptyList();
        ASSERT_EQ(QVPListReadProfile_Dict(list.get(), kClassRGB), 0) << c.name;
        EXPECT_EQ(std::string(list->litem[0].ProfileName), c.expected) << c.name;
        EXPECT_EQ(std::string(list->litem[0].FileName), "X.icc") << c.name;

        char field[kProfileNameFieldSize];
        std::memset(field, 'z', sizeof field);
        QVPListCopyName(field, c.text.data(), c.text.size());
        EXPECT_EQ(std::string(field), c.expected) << c.name;
    }
}

TEST_F(ListFileFormat, PapReadingDropsAndDemotesConfirmedEntries)
{
    Lists lists;
    add(lists[1], item(11, 2, "HIDDEN.icc", "hidden", 4));
    add(lists[1], item(12, 4, "SHOWN.icc", "shown", 5));
    add(lists[1], item(13, 1, "OTHER.icc", "other", 4));
    writeFile(current(), QVPListBuildFileText(lists.rgb(), lists.sim(), lists.dst()));

    auto list = emptyList();
    ASSERT_EQ(QVPListReadProfile_Dict_Pap(list.get(), kClassSIM), 0);
    EXPECT_EQ(list->iNum, 2);
    EXPECT_EQ(list->litem[0].iIndexOnDevice, 12);
    EXPECT_EQ(list->litem[0].iInMenu, kStateManualShown);
    EXPECT_STREQ(list->litem[0].FileName, "SHOWN.icc");
    EXPECT_EQ(list->litem[0].iLocation, 5);
    EXPECT_EQ(list->litem[1].iIndexOnDevice, 13);
    EXPECT_EQ(list->litem[1].iInMenu, kStateDeviceHidden);
    EXPECT_STREQ(list->litem[1].ProfileName, "other");
    EXPECT_EQ(list->litem[2].iInMenu, 0);
    EXPECT_EQ(list->litem[2].FileName[0], '\0');

    // The plain reading keeps them as they are.
    auto plain = emptyList();
    ASSERT_EQ(QVPListReadProfile_Dict(plain.get(), kClassSIM), 0);
    EXPECT_TRUE(sameList(*plain, lists[1]));

    // One read of every class takes the same mode.
    Lists together;
    QVPListReadProfile_EachClass(together.rgb(), together.sim(), together.dst(), true);
    EXPECT_TRUE(sameList(together[1], *list));
}

TEST(ListFileReader, ReportsWhyAFileCannotBeRead)
{
    Lists lists;
    ProfileList* targets[kProfileClassCount] = {lists.rgb(), lists.sim(), lists.dst()};
    using profilelist::ReadStatus;
    EXPECT_EQ(profilelist::readListFile("/nonexistent/x.plist", targets, profilelist::ReadMode::Plain),
              ReadStatus::NotFound);
    EXPECT_EQ(profilelist::readListText("<plist><dict><key>a</key></dict></plist>", targets, profilelist::ReadMode::Plain),
              ReadStatus::NotParsable);
    EXPECT_EQ(profilelist::readListText("<plist><dict/></plist>", targets, profilelist::ReadMode::Plain),
              ReadStatus::NotAList);
}

TEST(ProfileListPaths, FormationAndLimit)
{
    const std::string dir = QVPListProfileDirectory();
    EXPECT_EQ(QVPListFormPath("bob", "rx8240", kListCurrent), dir + "/bob-rx8240-profile.plist");
    EXPECT_EQ(QVPListFormPath("bob", "rx8240", kListPrevious), dir + "/bob-rx8240-profile.prev.plist");
    EXPECT_EQ(QVPListFormPath("bob", "rx8240", kListSpool), dir + "/bob-rx8240-profile.spool.plist");
    for (const char* bad : {"", ".", "..", "a/b", "a\nb"})
        EXPECT_EQ(QVPListFormPath(bad, "rx8240", kListCurrent), "") << bad;

    // The longest spool path is 254 bytes; one more byte fails all three.
    const size_t fixed = (dir + "/-rx8240-profile.spool.plist").size();
    ASSERT_LT(fixed, 254u);
    const std::string longest(254 - fixed, 'u');
    ASSERT_TRUE(QVPListSetServicePaths(longest, "rx8240"));
    EXPECT_EQ(QV_PLIST_PROFILE_SPOOL_PATH.size(), 254u);
    EXPECT_EQ(QVPListCurrentPath(), dir + "/" + longest + "-rx8240-profile.plist");
    EXPECT_EQ(QVPListPreviousPath(), QV_PLIST_PROFILE_PREV_PATH);
    EXPECT_FALSE(QVPListSetServicePaths(longest + "u", "rx8240"));
    EXPECT_EQ(QVPListCurrentPath(), "");
    EXPECT_EQ(QVPListIsAdminProfile(), 0);
    Lists lists;
    EXPECT_EQ(QVPListWriteProfile_All(lists.rgb(), lists.sim(), lists.dst()), -1);
    EXPECT_EQ(QVPListReadProfile_All(lists.rgb(), lists.sim(), lists.dst()), -1);
    EXPECT_EQ(QVPListSwapProfile(kSwapBackup), -1);
}

}  // namespace
