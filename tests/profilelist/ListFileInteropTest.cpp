// List files against two independent property-list implementations:
// libplist and Python's plistlib.
#include "ListTestSupport.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace listtest;
using ::testing::HasSubstr;

namespace {

using ListFileInterop = ListFileTest;

TEST_F(ListFileInterop, PeersReadWrittenFilesToTheSameValues)
{
    Lists varied;
    fillVaried(varied);
    Lists empty;
    Lists* cases[] = {&empty, &varied};
    for (Lists* lists : cases) {
        ASSERT_EQ(QVPListWriteProfile_All(lists->rgb(), lists->sim(), lists->dst()), 0);
        const auto expected = dumpOfLists(*lists);
        ASSERT_EQ(expected.size(), 1u + 3u * (1u + 6u * kProfileListCapacity));
        EXPECT_EQ(dumpWithLibplist(current()), expected);
        EXPECT_EQ(dumpWithPython(current()), expected);
    }
}

TEST_F(ListFileInterop, FilesWrittenByPlistlibRead)
{
    ASSERT_TRUE(runPython("write variety '" + current() + "'"));
    Lists lists;
    ASSERT_EQ(QVPListReadProfile_All(lists.rgb(), lists.sim(), lists.dst()), 0);

    const ProfileList& rgb = lists[0];
    EXPECT_EQ(rgb.iNum, 3);
    EXPECT_EQ(rgb.litem[0].iIndexOnDevice, -7);
    EXPECT_EQ(rgb.litem[1].iIndexOnDevice, 2147483647);
    EXPECT_EQ(rgb.litem[2].iIndexOnDevice, -2147483647 - 1);
    EXPECT_STREQ(rgb.litem[0].FileName, "a&b<c>d\"e'f.icc");
    EXPECT_STREQ(rgb.litem[0].ProfileName, "Caf\xC3\xA9 \xC3\x84\xC3\x96\xC3\x9C \xE6\x97\xA5\xE6\x9C\xAC");
    EXPECT_EQ(std::string(rgb.litem[1].FileName), std::string(31, 'x'));
    EXPECT_EQ(std::string(rgb.litem[1].ProfileName), std::string(30, 'y'));
    std::string sevenFaces;
    for (int i = 0; i < 7; ++i)
        sevenFaces += "\xF0\x9F\x98\x80";
    EXPECT_EQ(std::string(rgb.litem[2].FileName), sevenFaces);
    EXPECT_STREQ(rgb.litem[2].ProfileName, "  spaced  ");
    EXPECT_EQ(rgb.litem[0].iLocation, 5);
    EXPECT_EQ(rgb.litem[1].iLocation, 0);  // slot key missing
    EXPECT_EQ(rgb.litem[2].iLocation, 4);
    EXPECT_EQ(rgb.litem[3].iInMenu, 0);

    // No "iNum": normalisation counts the used slots.
    const ProfileList& sim = lists[1];
    EXPECT_EQ(sim.iNum, 2);
    EXPECT_EQ(sim.litem[0].iInMenu, 2);
    EXPECT_STREQ(sim.litem[1].FileName, "S2.icc");

    const ProfileList& dst = lists[2];
    EXPECT_EQ(dst.iNum, 2);
    EXPECT_STREQ(dst.litem[1].FileName, "D2.icc");
    EXPECT_EQ(dst.litem[2].iInMenu, 0);

    // Our rewrite of what we read is read by plistlib to the same values.
    ASSERT_EQ(QVPListWriteProfile_All(lists.rgb(), lists.sim(), lists.dst()), 0);
    EXPECT_EQ(dumpWithPython(current()), dumpOfLists(lists));

    // A class without "Location" fails every read and leaves the lists alone.
    ASSERT_TRUE(runPython("write no-location '" + current() + "'"));
    Lists before;
    fillVaried(before);
    Lists target;
    fillVaried(target);
    EXPECT_EQ(QVPListReadProfile_All(target.rgb(), target.sim(), target.dst()), -1);
    for (int c = 0; c < kProfileClassCount; ++c)
        EXPECT_TRUE(sameList(target[c], before[c])) << c;
    auto simOnly = emptyList();
    EXPECT_EQ(QVPListReadProfile_Dict(simOnly.get(), kClassSIM), 0);
    EXPECT_EQ(simOnly->iNum, 1);
}

// Runs the built tool; its standard output and error together.
std::string runTool(const std::string& args, int* status)
{
    const char* bin = std::getenv("RX_BINARY_DIR");
    const std::string tool = std::string(bin ? bin : ".") + "/tools/rx8240-profiles";
    FILE* p = ::popen((tool + " " + args + " 2>&1").c_str(), "r");
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    *status = WEXITSTATUS(::pclose(p));
    return out;
}

TEST(RxProfilesTool, ShowsListsAndRejectsBadFiles)
{
    useTestPaths();
    const std::string file = QV_PLIST_PROFILE_PATH;
    Lists lists;
    add(lists[0], item(3, 4, "A.icc", "Alpha", 4, 7));
    add(lists[1], item(12, 2, "B.icc", "Beta", 5, 1));
    add(lists[1], item(13, 4, "C.icc", "Gamma", 5, 1));
    ASSERT_EQ(QVPListWriteProfile_All(lists.rgb(), lists.sim(), lists.dst()), 0);

    const auto run = runTool;
    int status = -1;
    EXPECT_EQ(run("show '" + file + "'", &status),
              "RGB iNum=1\n0\t3\t4\t7\t4\tA.icc\tAlpha\n"
              "SIM iNum=2\n0\t12\t2\t1\t5\tB.icc\tBeta\n1\t13\t4\t1\t5\tC.icc\tGamma\n"
              "DST iNum=0\n");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(run("show '" + file + "' --pap", &status),
              "RGB iNum=1\n0\t3\t6\t7\t4\tA.icc\tAlpha\n"
              "SIM iNum=1\n0\t13\t6\t1\t5\tC.icc\tGamma\n"
              "DST iNum=0\n");
    EXPECT_EQ(status, 0);

    writeFile(file, "<plist><dict>");
    std::string out = run("show '" + file + "'", &status);
    EXPECT_EQ(status, 1);
    EXPECT_THAT(out, HasSubstr("not a well-formed XML property list"));
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    out = run("show '" + file + ".missing'", &status);
    EXPECT_EQ(status, 1);
    EXPECT_THAT(out, HasSubstr("No such file"));
    const std::string fifo = file + ".fifo";
    ::unlink(fifo.c_str());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    out = run("show '" + fifo + "'", &status);
    ::unlink(fifo.c_str());
    EXPECT_EQ(status, 1);
    EXPECT_THAT(out, HasSubstr("not a regular file"));
}

TEST(RxProfilesTool, CheckReportsWhatReadsAndWritesWouldChange)
{
    useTestPaths();
    const std::string file = QV_PLIST_PROFILE_PATH;
    Lists lists;
    add(lists[0], item(3, 4, "A.icc", "Alpha", 4));
    add(lists[0], item(4, 3, "B.icc", "Beta", 4));
    add(lists[1], item(5, 2, "A.icc", "Alpha", 4));
    ASSERT_EQ(QVPListWriteProfile_All(lists.rgb(), lists.sim(), lists.dst()), 0);
    const std::string clean = readFile(file);

    const struct {
        const char* from;  // replaced once (the RGB class comes first) by `to`
        const char* to;
        const char* finding;  // null: nothing to report
    } cases[] = {
        {"Alpha", "Alpha", nullptr},
        {"<key>InMenu0001</key>\n\t\t\t<integer>3", "<key>InMenu0001</key>\n\t\t\t<integer>9",
         "RGB: slot 1: state 9 is not a state code"},
        {"B.icc", "A.icc", "RGB: slot 1: the same file \"A.icc\" at location 4 as slot 0"},
        {"<key>iNum</key>\n\t\t<integer>2", "<key>iNum</key>\n\t\t<integer>5", "RGB: iNum says 5, but 2 slots"},
        {"<key>InMenu0000</key>\n\t\t\t<integer>4", "<key>InMenu0000</key>\n\t\t\t<integer>0",
         "RGB: slot 1: used, but stands after an empty slot"},
        {"Alpha", "Alpha and a name of forty bytes in all", "RGB: slot 0: ProfileName of 38 bytes is cut to 31"},
        {"Alpha", "&#xFFFE;", "RGB: slot 0: ProfileName holds characters the next write cannot store"},
        {"encoding=\"UTF-8\"", "encoding=\"ISO-8859-1\"", "the file is in ISO-8859-1"},
        {"<key>Location</key>", "<key>Elsewhere</key>", "RGB: missing, or without one of its six"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.to);
        std::string text = clean;
        text.replace(text.find(c.from), std::strlen(c.from), c.to);
        writeFile(file, text);
        int status = -1;
        const std::string out = runTool("check '" + file + "'", &status);
        EXPECT_EQ(status, c.finding ? 1 : 0);
        if (c.finding)
            EXPECT_THAT(out, HasSubstr(file + ": " + c.finding));
        else
            EXPECT_EQ(out, "");
    }
}

}  // namespace
