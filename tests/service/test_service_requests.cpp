// The service's operations and the plug-in's service calls over a real
// socket, with the real launcher, under a private root.
#include "ServiceFixture.h"

#include "platform/FixedPaths.h"
#include "profilelist/LauncherCalls.h"
#include "profilelist/ProfileList.h"
#include "protocol/ArgumentStrings.h"
#include "service/ColorProfileService.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include <gmock/gmock.h>
#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

namespace fs = std::filesystem;
namespace svc = svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;
using namespace rxtest;
using ::testing::HasSubstr;

namespace {

class ServiceRequests : public ::testing::Test {
protected:
    void SetUp() override
    {
        service.start({RX_SERVICE_BINARY, {}});
        user = rx::realUserLoginName();
        current = service.listPath(user);
        previous = service.listPath(user, "-rx8240-profile.prev.plist");
        staging = current + ".dummy";
    }

    ServiceUnderRoot service;
    std::string user, current, previous, staging;
};

std::string randomBytes(std::size_t size)
{
    std::mt19937 rng(42);
    std::string s(size, '\0');
    for (char& c : s)
        c = static_cast<char>(rng());
    return s;
}

TEST_F(ServiceRequests, BackupIsAByteIdenticalCopy)
{
    const std::string content = randomBytes(200000);  // several 65535-byte blocks
    writeFile(current, content);
    writeFile(previous, "old backup");
    EXPECT_THAT(runHelper({"qvPListSwapProfile_XPC", "2", current, previous}),
                HasSubstr("qvPListSwapProfile_XPC=TRUE"));
    EXPECT_EQ(readFile(previous), content);
    EXPECT_EQ(readFile(current), content);
}

TEST_F(ServiceRequests, BackupWithoutCurrentFileLeavesAnEmptyPreviousFile)
{
    writeFile(previous, "old backup");
    runHelper({"qvPListSwapProfile_XPC", "2", current, previous});
    ASSERT_TRUE(pathExists(previous));
    EXPECT_EQ(readFile(previous), "");
}

TEST_F(ServiceRequests, NullTypeIsARestore)
{
    writeFile(current, "current");
    writeFile(previous, "previous");
    EXPECT_THAT(runHelper({"qvPListSwapProfile_XPC", "NULL", current, previous}), HasSubstr("=TRUE"));
    EXPECT_EQ(readFile(current), "previous");
    EXPECT_FALSE(pathExists(previous));
}

TEST_F(ServiceRequests, RestoreWithoutPreviousFileKeepsTheCurrentFile)
{
    writeFile(current, "current");
    runHelper({"qvPListSwapProfile_XPC", "0", current, previous});
    EXPECT_EQ(readFile(current), "current");
}

TEST_F(ServiceRequests, DiscardWithNullCurrentPathDeletesOnlyThePreviousFile)
{
    writeFile(current, "current");
    writeFile(previous, "previous");
    runHelper({"qvPListSwapProfile_XPC", "1", "NULL", previous});
    EXPECT_FALSE(pathExists(previous));
    EXPECT_EQ(readFile(current), "current");
}

TEST_F(ServiceRequests, ProbeOfANewFileAnswersTrueAndLeavesNothing)
{
    EXPECT_THAT(runHelper({"qvPListIsAdminProfile_XPC", current}), HasSubstr("qvPListIsAdminProfile_XPC=TRUE"));
    EXPECT_FALSE(pathExists(current));
    writeFile(current, "kept");
    EXPECT_THAT(runHelper({"qvPListIsAdminProfile_XPC", current}), HasSubstr("=TRUE"));
    EXPECT_EQ(readFile(current), "kept");
}

// The output with every lease token replaced by "TOKEN".
std::string withoutTokens(std::string output)
{
    const std::string mark(svc::kLeaseMark);
    for (std::size_t at = 0; (at = output.find(mark, at)) != std::string::npos; at += mark.size())
        if (svc::isLeaseToken(output.substr(at + mark.size(), svc::kLeaseTokenSize)))
            output.replace(at + mark.size(), svc::kLeaseTokenSize, "TOKEN");
    return output;
}

// A staged write begun by one launcher run goes on in others that carry its
// lease: each run is a connection of its own.
TEST_F(ServiceRequests, PiecesThenCommitGiveTheirConcatenation)
{
    const std::string url = svc::fileUrlFromPath(current);
    writeFile(current, "before");
    const std::string begun = runHelper({"qvPListRemove_XPC", staging});
    const std::string lease = svc::leaseOfOutput(begun);
    ASSERT_FALSE(lease.empty()) << begun;
    EXPECT_THAT(runHelper({"stagedWriteLease", lease, "--and", "writeDataToPlistFile_XPC", url, "first "}),
                HasSubstr("writeDataToPlistFile_XPC=TRUE"));
    EXPECT_THAT(runHelper({"stagedWriteLease", lease, "--and", "writeDataToPlistFile_XPC", url, "second"}),
                HasSubstr("writeDataToPlistFile_XPC=TRUE"));
    EXPECT_EQ(readFile(current), "before");  // the file changes only at the commit
    EXPECT_THAT(runHelper({"writeDataToPlistFile_XPC", url, "third"}), HasSubstr("writeDataToPlistFile_XPC=FALSE"))
        << "a piece without the lease";
    EXPECT_THAT(runHelper({"stagedWriteLease", lease, "--and", "writeDataToPlistFileRename_XPC", url}),
                HasSubstr("writeDataToPlistFileRename_XPC=TRUE"));
    EXPECT_EQ(readFile(current), "first second");
    EXPECT_FALSE(pathExists(staging));
    struct stat st;
    ASSERT_EQ(stat(current.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0664u);
}

// The commit reports its real outcome: without a staging file it answers
// "FALSE" and the list file stays.
TEST_F(ServiceRequests, CommitWithoutStagingFileAnswersFalseAndKeepsTheFile)
{
    writeFile(current, "kept");
    EXPECT_THAT(runHelper({"writeDataToPlistFileRename_XPC", svc::fileUrlFromPath(current)}),
                HasSubstr("writeDataToPlistFileRename_XPC=FALSE"));
    EXPECT_EQ(readFile(current), "kept");
}

TEST_F(ServiceRequests, ExistRemoveAndWholeFileWrite)
{
    EXPECT_THAT(runHelper({"qvPListExistProfile_XPC", current}), HasSubstr("qvPListExistProfile_XPC=FALSE"));
    EXPECT_THAT(runHelper({"writeDictionaryToPlistFile_XPC", svc::fileUrlFromPath(current), "whole \xC3\xA9"}),
                HasSubstr("=TRUE"));
    EXPECT_EQ(readFile(current), "whole \xC3\xA9");
    EXPECT_THAT(runHelper({"qvPListExistProfile_XPC", current}), HasSubstr("qvPListExistProfile_XPC=TRUE"));
    EXPECT_THAT(runHelper({"qvPListRemove_XPC", current}), HasSubstr("qvPListRemove_XPC=TRUE"));
    EXPECT_FALSE(pathExists(current));
    EXPECT_THAT(runHelper({"qvPListRemove_XPC", current}), HasSubstr("qvPListRemove_XPC=FALSE"));
}

TEST_F(ServiceRequests, LauncherCarriesA90000CharacterPiece)
{
    const std::string piece(90000, 'x');
    EXPECT_THAT(runHelper({"qvPListRemove_XPC", staging, "--and", "writeDataToPlistFile_XPC",
                           svc::fileUrlFromPath(current), piece}),
                HasSubstr("writeDataToPlistFile_XPC=TRUE"));
    EXPECT_EQ(readFile(staging), piece);
}

// A launcher run carrying several requests: a request after "--and" runs
// only after a TRUE, one after "--then" whatever came before; a malformed
// line sends nothing.
TEST_F(ServiceRequests, LauncherSequencesStopAtTheFirstRefusal)
{
    const std::string url = svc::fileUrlFromPath(current), elsewhere = "file:///tmp/not-a-list";
    const std::string piece = "writeDataToPlistFile_XPC", commit = "writeDataToPlistFileRename_XPC";
    const std::string begin = "qvPListRemove_XPC", begun = begin + "=TRUE lease=TOKEN\n";
    const struct {
        std::vector<std::string> line;
        std::string printed, listAfter;
    } cases[] = {
        {{begin, staging, "--and", piece, url, "a", "--and", piece, url, "b", "--and", commit, url},
         begun + piece + "=TRUE\n" + piece + "=TRUE\n" + commit + "=TRUE\n", "ab"},
        {{begin, staging, "--and", piece, url, "a", "--and", piece, elsewhere, "b", "--and", commit, url},
         begun + piece + "=TRUE\n" + piece + "=FALSE\n", "before"},
        {{begin, staging, "--then", piece, url, "c", "--and", commit, url},
         begun + piece + "=TRUE\n" + commit + "=TRUE\n", "c"},
        {{piece, url, "d", "--then", commit, url}, piece + "=FALSE\n" + commit + "=FALSE\n", "before"},
        {{"qvPListRemove_XPC", current, "extra"}, "", "before"},
        {{"qvPListRemove_XPC", current, "--and"}, "", "before"},
    };
    for (const auto& c : cases) {
        writeFile(current, "before");
        fs::remove(staging);
        EXPECT_EQ(withoutTokens(runHelper(c.line)), c.printed) << c.line.front() << " ... " << c.line.back();
        EXPECT_EQ(readFile(current), c.listAfter);
    }
}

TEST_F(ServiceRequests, LauncherWithoutServicePrintsNoAnswerAndFails)
{
    service.stop();
    const std::string out = "\"" + service.root() + "/out\"";
    int status = std::system(("\"" + QVPListLauncherPath() + "\" qvPListIsAdminProfile_XPC x > " + out).c_str());
    EXPECT_NE(status, 0);
    std::string text = readFile(service.root() + "/out");
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(text.find("qvPListIsAdminProfile_XPC=TRUE"), std::string::npos);
}

// ---- The plug-in's calls ---------------------------------------------------

std::unique_ptr<ProfileList[]> sampleLists(int variant)
{
    auto lists = std::make_unique<ProfileList[]>(3);
    for (int c = 0; c < 3; ++c) {
        ProfileList& list = lists[c];
        for (int i = 0; i < 40; ++i) {
            ProfileListItem& item = list.litem[i];
            item.iIndexOnDevice = i + 1;
            item.iInMenu = 1 + (i + variant) % 6;
            item.iProfileClass = c;
            std::snprintf(item.FileName, sizeof item.FileName, "P%d_%d_%d.ICC", variant, c, i);
            std::snprintf(item.ProfileName, sizeof item.ProfileName, "Profil \xC3\xA9 %d", i);
            item.iLocation = i % 2 ? kLocationDisk : kLocationCard;
        }
        list.iNum = 40;
    }
    return lists;
}

void expectSameLists(const ProfileList* a, const ProfileList* b)
{
    for (int c = 0; c < 3; ++c) {
        ASSERT_EQ(a[c].iNum, b[c].iNum);
        for (int i = 0; i < kProfileListCapacity; ++i) {
            const auto& x = a[c].litem[i];
            const auto& y = b[c].litem[i];
            ASSERT_EQ(x.iIndexOnDevice, y.iIndexOnDevice);
            ASSERT_EQ(x.iInMenu, y.iInMenu);
            ASSERT_STREQ(x.FileName, y.FileName);
            ASSERT_STREQ(x.ProfileName, y.ProfileName);
            ASSERT_EQ(x.iLocation, y.iLocation);
        }
    }
}

TEST_F(ServiceRequests, PluginWriteReadsBackAndLeavesNoStagingFile)
{
    // A staging file left by an interrupted write must not end up in front.
    writeFile(staging, "<garbage from an interrupted write>");
    auto lists = sampleLists(1);
    const std::size_t runsBefore = QVPListLauncherRuns();
    ASSERT_EQ(QVPListWriteProfile_All(&lists[0], &lists[1], &lists[2]), 0);
    EXPECT_FALSE(pathExists(staging));
    auto read = std::make_unique<ProfileList[]>(3);
    ASSERT_EQ(QVPListReadProfile_All(&read[0], &read[1], &read[2]), 0);
    expectSameLists(lists.get(), read.get());
    // Probe, staging removal, pieces and commit in one launcher run.
    EXPECT_EQ(QVPListLauncherRuns() - runsBefore, 1u);
}

// The largest list the store can write: every slot used, every number of
// eleven characters, every name 31 bytes that each need a five-byte escape.
// It stays under the service's size cap and goes through the launcher whole.
TEST_F(ServiceRequests, TheLargestLegalListFitsTheSizeCap)
{
    auto lists = std::make_unique<ProfileList[]>(3);
    for (int c = 0; c < 3; ++c) {
        for (ProfileListItem& item : lists[c].litem) {
            item.iIndexOnDevice = item.iInMenu = item.iProfileClass = item.iLocation = INT32_MIN;
            std::memset(item.FileName, '&', kProfileNameFieldSize - 1);
            std::memset(item.ProfileName, '&', kProfileNameFieldSize - 1);
        }
        lists[c].iNum = INT32_MIN;
    }
    const std::string text = QVPListBuildFileText(&lists[0], &lists[1], &lists[2]);
    std::printf("[ figures ] largest legal list file %zu bytes, size cap %zu bytes\n", text.size(), kMaxListFileSize);
    EXPECT_LT(text.size() * 3, kMaxListFileSize) << "the cap is not well above the largest list";
    ASSERT_EQ(QVPListWriteProfile_All(&lists[0], &lists[1], &lists[2]), 0);
    EXPECT_EQ(readFile(current), text);
}

// Where the system lets a process start with less than a whole list on its
// command line, the write goes in several launcher runs, each going on only
// after the last step of the one before succeeded. The smaller limit is set
// in a child process, so that the test's own stack keeps its size.
TEST_F(ServiceRequests, AWriteLargerThanTheArgumentLimitGoesInSeveralRuns)
{
    auto lists = sampleLists(5);
    const pid_t child = fork();
    if (child == 0) {
        const rlimit stack{1024 * 1024, RLIM_INFINITY};  // execve's limit: a quarter of it
        const std::size_t runs = QVPListLauncherRuns();
        const bool written =
            setrlimit(RLIMIT_STACK, &stack) == 0 && QVPListWriteProfile_All(&lists[0], &lists[1], &lists[2]) == 0;
        _exit(!written ? 1 : QVPListLauncherRuns() - runs < 2 ? 2 : 0);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the write failed, 2: it went in one run";
    EXPECT_EQ(readFile(current), QVPListBuildFileText(&lists[0], &lists[1], &lists[2]));
    EXPECT_FALSE(pathExists(staging));
}

TEST_F(ServiceRequests, PluginSwapExistAndRemove)
{
    auto lists = sampleLists(2);
    ASSERT_EQ(QVPListWriteProfile_All(&lists[0], &lists[1], &lists[2]), 0);
    EXPECT_EQ(QVPListExistProfile(), 1);
    QVPListSwapProfile(kSwapBackup);
    EXPECT_EQ(readFile(previous), readFile(current));

    std::size_t runs = QVPListLauncherRuns();
    EXPECT_EQ(QVPListRemove(1), 0);
    EXPECT_EQ(QVPListLauncherRuns() - runs, 1u);  // the probe only
    EXPECT_EQ(QVPListRemove(kRemovePrevious), 1);
    EXPECT_FALSE(pathExists(previous));
    EXPECT_EQ(QVPListRemove(kRemoveCurrent), 1);
    EXPECT_EQ(QVPListExistProfile(), 0);
}

TEST_F(ServiceRequests, PluginPapWriteKeepsTheDevicesConfirmedEntries)
{
    auto file = std::make_unique<ProfileList[]>(3);
    file[0].litem[0] = ProfileListItem{7, kStateDeviceShownConfirmed, 1, "DEV.ICC", "Device", kLocationDisk, 0};
    file[0].iNum = 1;
    ASSERT_EQ(QVPListWriteProfile_All(&file[0], &file[1], &file[2]), 0);

    auto edited = std::make_unique<ProfileList[]>(3);
    edited[0].litem[0] = ProfileListItem{500, kStateManualShown, 2, "HAND.ICC", "Hand", kLocationCard, 3};
    edited[0].iNum = 1;
    auto deleted = std::make_unique<ProfileList[]>(3);
    ASSERT_EQ(QVPListWriteProfile_All_Pap(&edited[0], &edited[1], &edited[2], &deleted[0], &deleted[1], &deleted[2]),
              0);
    auto read = std::make_unique<ProfileList[]>(3);
    ASSERT_EQ(QVPListReadProfile_All(&read[0], &read[1], &read[2]), 0);
    ASSERT_EQ(read[0].iNum, 2);
    EXPECT_STREQ(read[0].litem[0].FileName, "DEV.ICC");
    EXPECT_STREQ(read[0].litem[1].FileName, "HAND.ICC");
}

TEST_F(ServiceRequests, WithoutLauncherNothingStarts)
{
    auto lists = sampleLists(3);
    fs::remove(QVPListLauncherPath());
    const std::size_t runs = QVPListLauncherRuns();
    EXPECT_EQ(QVPListIsAdminProfile(), 0);
    EXPECT_EQ(QVPListWriteProfile_All(&lists[0], &lists[1], &lists[2]), -1);
    EXPECT_EQ(QVPListExistProfile(), 0);
    EXPECT_EQ(QVPListLauncherRuns(), runs);
    EXPECT_FALSE(pathExists(current));
}

// A launcher that relays to the real one with the second piece addressed
// outside the list directory, so that the service refuses it, and logs what
// the real one printed.
TEST_F(ServiceRequests, ARefusedPieceStopsTheWrite)
{
    auto original = sampleLists(4);
    ASSERT_EQ(QVPListWriteProfile_All(&original[0], &original[1], &original[2]), 0);
    const std::string before = readFile(current);

    const std::string launcher = QVPListLauncherPath();
    const std::string real = service.root() + "/real-helper";
    const std::string log = service.root() + "/helper.log";
    fs::rename(launcher, real);
    std::ofstream script(launcher);
    script << "#!/bin/sh\nn=0; refused=\n"
           << "for a do\n  shift\n"
           << "  if [ -n \"$refused\" ]; then a=file:///tmp/not-a-list; refused=; fi\n"
           << "  if [ \"$a\" = writeDataToPlistFile_XPC ]; then n=$((n + 1)); [ $n -eq 2 ] && refused=1; fi\n"
           << "  set -- \"$@\" \"$a\"\ndone\n"
           << "'" << real << "' \"$@\" | tee -a '" << log << "'\n";
    script.close();
    fs::permissions(launcher, fs::perms::owner_all);

    auto lists = sampleLists(5);
    auto text = QVPListUtf16FromUtf8(QVPListBuildFileText(&lists[0], &lists[1], &lists[2]));
    ASSERT_GE(splitCharEvery(*text, kPieceLength).size(), 3u) << "the test needs at least three pieces";
    EXPECT_EQ(QVPListWriteProfile_All(&lists[0], &lists[1], &lists[2]), -1);
    // The write's lease is taken back and ended (an empty commit), so that
    // the next write need not wait for it to expire.
    EXPECT_EQ(withoutTokens(readFile(log)), "qvPListIsAdminProfile_XPC=TRUE\nqvPListRemove_XPC=TRUE lease=TOKEN\n"
                                            "writeDataToPlistFile_XPC=TRUE\nwriteDataToPlistFile_XPC=FALSE\n"
                                            "stagedWriteLease=TRUE\nqvPListRemove_XPC=TRUE lease=TOKEN\n"
                                            "writeDataToPlistFileRename_XPC=FALSE\n");
    EXPECT_EQ(readFile(current), before);

    // The next write starts from a clean staging file.
    fs::remove(launcher);
    fs::rename(real, launcher);
    ASSERT_EQ(QVPListWriteProfile_All(&lists[0], &lists[1], &lists[2]), 0);
    EXPECT_EQ(readFile(current), QVPListBuildFileText(&lists[0], &lists[1], &lists[2]));
}

// Requests the service refuses put nothing of the write they belong to on
// the disk, and the launcher prints the reply of every request that ran, one
// run after a skipped request included. An empty line is the plug-in's write.
TEST_F(ServiceRequests, RefusedStepsPutNothingOnTheDisk)
{
    const std::string url = svc::fileUrlFromPath(current);
    const std::string probe = "qvPListIsAdminProfile_XPC", begin = "qvPListRemove_XPC";
    const std::string piece = "writeDataToPlistFile_XPC", commit = "writeDataToPlistFileRename_XPC";
    auto atModelCap = [&] {
        for (std::size_t m = 0; m < svc::kMaxModelsPerUser; ++m)
            writeFile(service.listPath(user, "-m" + std::to_string(m) + "-profile.plist"), "x");
    };
    auto linkedList = [&] {  // a list with a second link: the probe refuses it
        writeFile(current, "kept");
        fs::create_hard_link(current, service.root() + "/second-link");
    };
    auto atDiskQuota = [&] {
        for (int m = 0; m < 4; ++m)
            writeFile(service.listPath(user, "-q" + std::to_string(m) + "-profile.plist"),
                      std::string(svc::kMaxBytesPerUser / 4, 'q'));
    };
    const std::vector<std::string> pluginWrite;
    const std::vector<std::string> pieceAtQuota{begin, staging, "--and", piece, url, "a", "--then", commit, url};
    const std::vector<std::string> pieceAfterSkip{probe, current, "--and", begin,  staging, "--then",
                                                  piece, url,     "a",     "--and", commit, url};
    const struct {
        const char* what;
        std::function<void()> setup;
        std::vector<std::string> line;
        std::string printed;
    } cases[] = {
        {"probe refused at the model cap", atModelCap, pluginWrite, ""},
        {"probe refused for a linked list", linkedList, pluginWrite, ""},
        {"a piece after a skipped removal, at the model cap", atModelCap, pieceAfterSkip,
         probe + "=FALSE\n" + piece + "=FALSE\n"},
        {"a piece after a skipped removal, a linked list", linkedList, pieceAfterSkip,
         probe + "=FALSE\n" + piece + "=FALSE\n"},
        {"a piece past the user's disk quota", atDiskQuota, pieceAtQuota,
         begin + "=TRUE lease=TOKEN\n" + piece + "=FALSE\n" + commit + "=FALSE\n"},
        {"the plug-in's write past the user's disk quota", atDiskQuota, pluginWrite, ""},
    };
    std::printf("[ figures ] disk quota %llu bytes per user, %zu-byte cap per staged list, %zu model names\n",
                static_cast<unsigned long long>(svc::kMaxBytesPerUser), kMaxListFileSize, svc::kMaxModelsPerUser);
    auto lists = sampleLists(6);
    for (const auto& c : cases) {
        for (const auto& entry : fs::directory_iterator(service.profileDirectory()))
            fs::remove(entry.path());
        fs::remove(service.root() + "/second-link");
        c.setup();
        const auto before = snapshot(service.profileDirectory());
        if (c.line.empty())
            EXPECT_EQ(QVPListWriteProfile_All(&lists[0], &lists[1], &lists[2]), -1) << c.what;
        else
            EXPECT_EQ(withoutTokens(runHelper(c.line)), c.printed) << c.what;
        EXPECT_EQ(snapshot(service.profileDirectory()), before) << c.what;
    }
}

// ---- The walk request -------------------------------------------------------

class WalkRequests : public ::testing::Test {
protected:
    void start(const std::string& result, const std::string& sleepMs = "0")
    {
        const char* base = std::getenv("RX_TEST_ROOT");
        record = std::string(base ? base : "/tmp") + "/walk-record-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::create_directories(fs::path(record).parent_path());
        fs::remove(record);
        service.start({RX_RECORDING_SERVICE_BINARY,
                       {{"RX_WALK_RECORD", record}, {"RX_WALK_RESULT", result}, {"RX_WALK_SLEEP_MS", sleepMs}}});
        user = rx::realUserLoginName();
    }
    std::vector<std::string> recordLines(const std::string& prefix) const
    {
        std::vector<std::string> lines;
        std::istringstream in(readFile(record));
        for (std::string line; std::getline(in, line);)
            if (line.rfind(prefix, 0) == 0)
                lines.push_back(line.substr(prefix.size()));
        return lines;
    }

    ServiceUnderRoot service;
    std::string record, user;
};

const std::vector<std::string> kVector = {"snmpwalk", "-Os", "-c", "ombrel", "-v", "1", "127.0.0.1",
                                          "1.3.6.1.4.1.71362.1.1.1.1.6.13.1.1"};

TEST_F(WalkRequests, EightElementsAndThePathsFromUserThenModel)
{
    start("3");
    std::vector<std::string> arguments{"mibwalk_XPC", "M1", user};
    arguments.insert(arguments.end(), kVector.begin(), kVector.end());
    EXPECT_THAT(runHelper(arguments), HasSubstr("mibwalk_XPC=iRet=3"));
    EXPECT_EQ(recordLines("argc "), std::vector<std::string>{"8"});
    EXPECT_EQ(recordLines("argv "), kVector);
    const std::string dir = service.profileDirectory() + "/" + user + "-M1-profile";
    EXPECT_EQ(recordLines("current "), std::vector<std::string>{dir + ".plist"});
    EXPECT_EQ(recordLines("previous "), std::vector<std::string>{dir + ".prev.plist"});
    EXPECT_EQ(recordLines("spool "), std::vector<std::string>{dir + ".spool.plist"});
}

TEST_F(WalkRequests, NoVectorGivesCountZeroAndNegativeResultsComeBack)
{
    start("-1");
    EXPECT_THAT(runHelper({"mibwalk_XPC", "rx8240", user}), HasSubstr("mibwalk_XPC=iRet=-1"));
    EXPECT_EQ(recordLines("argc "), std::vector<std::string>{"0"});
}

TEST_F(WalkRequests, UnknownWalkLettersWalk)
{
    start("0");
    std::vector<std::string> arguments{"mibwalk_XPC", "rx8240", user, "snmpwalk", "-Cx", "127.0.0.1", "1.3.6.1"};
    EXPECT_NE(runHelper(arguments).find("mibwalk_XPC=iRet=0"), std::string::npos);
    EXPECT_EQ(recordLines("argv "), std::vector<std::string>(arguments.begin() + 3, arguments.end()));
}

TEST_F(WalkRequests, TwoDiscoveriesOfOneUserRunOneAfterTheOther)
{
    start("0", "300");
    std::vector<std::string> arguments{"mibwalk_XPC", "rx8240", user};
    arguments.insert(arguments.end(), kVector.begin(), kVector.end());
    // Another device: a walk of the same vector would share the exchange.
    std::vector<std::string> otherDevice = arguments;
    std::replace(otherDevice.begin(), otherDevice.end(), std::string("127.0.0.1"), std::string("127.0.0.2"));
    std::thread other([&] { runHelper(otherDevice); });
    runHelper(arguments);
    other.join();
    auto begins = recordLines("begin ");
    auto ends = recordLines("end ");
    ASSERT_EQ(begins.size(), 2u);
    ASSERT_EQ(ends.size(), 2u);
    // One walk ends before the other begins.
    long long b0 = std::stoll(begins[0]), b1 = std::stoll(begins[1]), e0 = std::stoll(ends[0]);
    EXPECT_LE(e0, b1);
    EXPECT_LE(b0, e0);
}

}  // namespace
