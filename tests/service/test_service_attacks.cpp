// Requests that try to reach beyond the caller's own list files, or to wear
// the service down. Each is refused, nothing outside the allowed files
// changes, and the service answers the next request.
#include "ServiceFixture.h"

#include "platform/FileDescriptor.h"
#include "platform/FixedPaths.h"
#include "profilelist/LauncherCalls.h"
#include "profilelist/ProfileList.h"
#include "protocol/ArgumentStrings.h"
#include "service/ColorProfileService.h"
#include "protocol/Framing.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
namespace svc = svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;
using namespace rxtest;
using ::testing::HasSubstr;

namespace {

class Attacks : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* base = std::getenv("RX_TEST_ROOT");
        record = std::string(base ? base : "/tmp") + "/attack-walk-record";
        fs::create_directories(fs::path(record).parent_path());
        fs::remove(record);
        service.start({RX_RECORDING_SERVICE_BINARY, {{"RX_WALK_RECORD", record}}});
        user = rx::realUserLoginName();
        dir = service.profileDirectory();
        victimDir = service.root() + "/victim";
        fs::create_directories(victimDir);
        victim = victimDir + "/secret";
        writeFile(victim, "secret");
    }

    // The service still serves: a probe of the caller's own list answers.
    void expectServiceAlive()
    {
        EXPECT_THAT(runHelper({"qvPListIsAdminProfile_XPC", service.listPath(user)}), HasSubstr("=TRUE"));
    }

    ServiceUnderRoot service;
    std::string record, user, dir, victimDir, victim;
};

struct Attempt {
    const char* what;
    std::vector<std::string> arguments;  // launcher arguments; "@D" = profile dir, "@V" = victim dir
    const char* refusal;                 // the reply expected
};

std::string expand(std::string text, const std::string& dir, const std::string& victimDir)
{
    for (auto [key, value] : {std::pair<std::string, std::string>{"@D", dir}, {"@V", victimDir}})
        for (std::size_t at; (at = text.find(key)) != std::string::npos;)
            text.replace(at, key.size(), value);
    return text;
}

TEST_F(Attacks, PathsOutsideTheCallersListFilesAreRefused)
{
    const std::string me = user;
    const Attempt attempts[] = {
        {"parent directory", {"qvPListIsAdminProfile_XPC", "@D/../" + me + "-rx8240-profile.plist"}, "FALSE"},
        {"dot-dot into the victim", {"qvPListRemove_XPC", "@D/../../../../../victim/secret"}, "FALSE"},
        {"absolute path elsewhere", {"qvPListRemove_XPC", "@V/secret"}, "FALSE"},
        {"create elsewhere", {"qvPListIsAdminProfile_XPC", "@V/new-rx8240-profile.plist"}, "FALSE"},
        {"exist elsewhere", {"qvPListExistProfile_XPC", "@V/secret"}, "FALSE"},
        {"swap into elsewhere", {"qvPListSwapProfile_XPC", "2", "@D/" + me + "-rx8240-profile.plist", "@V/secret"}, "FALSE"},
        {"restore from elsewhere", {"qvPListSwapProfile_XPC", "0", "@V/secret", "@D/" + me + "-rx8240-profile.prev.plist"}, "FALSE"},
        {"swap of two lists", {"qvPListSwapProfile_XPC", "0", "@D/" + me + "-rx8240-profile.plist", "@D/" + me + "-other-profile.prev.plist"}, "FALSE"},
        {"piece elsewhere", {"writeDataToPlistFile_XPC", "file://@V/secret", "x"}, "FALSE"},
        {"commit elsewhere", {"writeDataToPlistFileRename_XPC", "file://@V/secret"}, "FALSE"},
        {"whole write elsewhere", {"writeDictionaryToPlistFile_XPC", "file://@V/x-rx8240-profile.plist", "x"}, "FALSE"},
        {"escaped dot-dot", {"writeDictionaryToPlistFile_XPC", "file://@D/%2E%2E/" + me + "-rx8240-profile.plist", "x"}, "FALSE"},
        {"escaped slash in name", {"writeDictionaryToPlistFile_XPC", "file://@D/" + me + "%2F..%2F..-rx8240-profile.plist", "x"}, "FALSE"},
        {"not a list name", {"writeDictionaryToPlistFile_XPC", "file://@D/" + me + "-rx8240-profile.plist.tmp", "x"}, "FALSE"},
        {"user name with slash", {"mibwalk_XPC", "rx8240", me + "/../x", "snmpwalk", "127.0.0.1", "1.3"}, "iRet=-1"},
        {"model name with slash", {"mibwalk_XPC", "../../victim", me, "snmpwalk", "127.0.0.1", "1.3"}, "iRet=-1"},
        {"walk -Lf", {"mibwalk_XPC", "rx8240", me, "snmpwalk", "-Lf", "@V/log", "127.0.0.1", "1.3"}, "iRet=-1"},
        {"walk -m", {"mibwalk_XPC", "rx8240", me, "snmpwalk", "-m", "ALL", "127.0.0.1", "1.3"}, "iRet=-1"},
        {"walk -M", {"mibwalk_XPC", "rx8240", me, "snmpwalk", "-M", "@V", "127.0.0.1", "1.3"}, "iRet=-1"},
        {"walk -Y", {"mibwalk_XPC", "rx8240", me, "snmpwalk", "-Y", "logOption f @V/log", "127.0.0.1", "1.3"}, "iRet=-1"},
        {"walk --name=value", {"mibwalk_XPC", "rx8240", me, "snmpwalk", "--persistentDir=@V", "127.0.0.1", "1.3"}, "iRet=-1"},
        {"walk -D", {"mibwalk_XPC", "rx8240", me, "snmpwalk", "-D", "ALL", "127.0.0.1", "1.3"}, "iRet=-1"},
    };
    const auto before = snapshot(service.root());
    for (const auto& attempt : attempts) {
        std::vector<std::string> arguments;
        for (const auto& a : attempt.arguments)
            arguments.push_back(expand(a, dir, victimDir));
        std::string output = runHelper(arguments);
        EXPECT_THAT(output, HasSubstr(arguments[0] + "=" + attempt.refusal)) << attempt.what;
        EXPECT_EQ(snapshot(service.root()), before) << attempt.what;
    }
    EXPECT_EQ(readFile(record), "") << "a refused walk must not start";
    expectServiceAlive();
}

// A symbolic link planted at a list, staging or backup name is never
// followed, replaced or removed.
TEST_F(Attacks, SymbolicLinksAtListNamesAreRefused)
{
    const std::string current = service.listPath(user);
    const std::string previous = service.listPath(user, "-rx8240-profile.prev.plist");
    const std::string staging = current + ".dummy";
    const std::string url = svc::fileUrlFromPath(current);
    struct Case {
        const char* what;
        std::string linkAt;
        std::vector<std::string> arguments;
    };
    const Case cases[] = {
        {"probe through current", current, {"qvPListIsAdminProfile_XPC", current}},
        {"exist through current", current, {"qvPListExistProfile_XPC", current}},
        {"remove current link", current, {"qvPListRemove_XPC", current}},
        {"backup into previous link", previous, {"qvPListSwapProfile_XPC", "2", current, previous}},
        {"backup from current link", current, {"qvPListSwapProfile_XPC", "2", current, previous}},
        {"restore over current link", current, {"qvPListSwapProfile_XPC", "0", current, previous}},
        {"discard previous link", previous, {"qvPListSwapProfile_XPC", "1", "NULL", previous}},
        {"piece through staging link", staging, {"writeDataToPlistFile_XPC", url, "x"}},
        {"commit from staging link", staging, {"writeDataToPlistFileRename_XPC", url}},
        {"commit over current link", current, {"writeDataToPlistFileRename_XPC", url}},
        {"whole write over current link", current, {"writeDictionaryToPlistFile_XPC", url, "x"}},
    };
    for (const auto& c : cases) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        if (c.linkAt != current)
            writeFile(current, "current");
        if (c.linkAt != previous)
            writeFile(previous, "previous");
        if (c.linkAt == staging)
            writeFile(current, "current");
        else
            writeFile(staging, "staged");
        fs::create_symlink(victim, c.linkAt);
        const auto before = snapshot(service.root());
        std::string output = runHelper(c.arguments);
        EXPECT_THAT(output, HasSubstr(c.arguments[0] + "=FALSE")) << c.what;
        EXPECT_EQ(snapshot(service.root()), before) << c.what;
        EXPECT_EQ(readFile(victim), "secret") << c.what;
    }
    fs::remove_all(dir);
    fs::create_directories(dir);
    expectServiceAlive();
}

TEST_F(Attacks, AnotherUsersListFileIsRefused)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to run the launcher as another user";
    // Everyone may reach the socket and the launcher; the root's list is not
    // nobody's.
    const std::string rootList = service.listPath("root");
    writeFile(rootList, "root's list");
    fs::permissions(service.root(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    const auto before = snapshot(service.root());
    const std::string url = svc::fileUrlFromPath(rootList);
    const std::vector<std::vector<std::string>> attempts = {
        {"qvPListIsAdminProfile_XPC", rootList},
        {"qvPListExistProfile_XPC", rootList},
        {"qvPListRemove_XPC", rootList},
        {"qvPListSwapProfile_XPC", "0", rootList, service.listPath("root", "-rx8240-profile.prev.plist")},
        {"writeDataToPlistFile_XPC", url, "x"},
        {"writeDataToPlistFileRename_XPC", url},
        {"writeDictionaryToPlistFile_XPC", url, "x"},
        {"mibwalk_XPC", "rx8240", "root", "snmpwalk", "127.0.0.1", "1.3"},
    };
    for (const auto& arguments : attempts) {
        std::string output = runHelperAs("nobody", arguments);
        std::string expected = arguments[0] + (arguments[0] == "mibwalk_XPC" ? "=iRet=-1" : "=FALSE");
        EXPECT_THAT(output, HasSubstr(expected)) << arguments[0];
        EXPECT_EQ(snapshot(service.root()), before) << arguments[0];
    }
    // Nobody's own list is fine.
    EXPECT_THAT(runHelperAs("nobody", {"qvPListIsAdminProfile_XPC", service.listPath("nobody")}),
                HasSubstr("=TRUE"));
    EXPECT_EQ(readFile(record), "");
}

TEST_F(Attacks, OversizedUnknownAndMalformedFramesEndTheConnection)
{
    {
        int fd = connectTo(service.socketPath());
        ASSERT_GE(fd, 0);
        ASSERT_TRUE(sendFrame(fd, "qvPListIsAdminProfile_XPC"));
        // A length one byte over 1 MiB; the body is never sent.
        unsigned char header[4] = {0x00, 0x10, 0x00, 0x01};
        ASSERT_EQ(write(fd, header, 4), 4);
        EXPECT_TRUE(closedByPeer(fd, 3));
        close(fd);
    }
    {
        int fd = connectTo(service.socketPath());
        ASSERT_TRUE(sendFrame(fd, "unlink_XPC"));
        ASSERT_TRUE(sendFrame(fd, "/etc/passwd"));
        EXPECT_TRUE(closedByPeer(fd, 3));
        close(fd);
    }
    {
        int fd = connectTo(service.socketPath());
        ASSERT_TRUE(sendFrame(fd, std::string(200, 'q')));  // an operation name far too long
        EXPECT_TRUE(closedByPeer(fd, 3));
        close(fd);
    }
    {
        // An argument that is not UTF-8 is answered "FALSE".
        int fd = connectTo(service.socketPath());
        ASSERT_TRUE(sendFrame(fd, "qvPListIsAdminProfile_XPC"));
        ASSERT_TRUE(sendFrame(fd, service.listPath(user) + "\xFF"));
        char reply[16] = {};
        ASSERT_EQ(recv(fd, reply, 9, MSG_WAITALL), 9);
        EXPECT_EQ(std::string(reply + 4, 5), "FALSE");
        close(fd);
    }
    EXPECT_TRUE(service.running());
    expectServiceAlive();
}

TEST_F(Attacks, AConnectionThatNeverSendsIsClosedAndBlocksNobody)
{
    int idle = connectTo(service.socketPath());
    ASSERT_GE(idle, 0);
    int half = connectTo(service.socketPath());
    ASSERT_TRUE(sendFrame(half, "qvPListIsAdminProfile_XPC"));  // the argument never comes
    expectServiceAlive();
    EXPECT_TRUE(closedByPeer(idle, 12));
    EXPECT_TRUE(closedByPeer(half, 2));
    close(idle);
    close(half);
    expectServiceAlive();
}

// ---- One user against another ------------------------------------------------
// The attacker is `nobody`; the victim is the test's own user. Each attack is
// kept up while the victim probes, writes its list in pieces and walks.

constexpr const char* kSlowAgent = "10.9.9.9";  // the recording walk sleeps for it
constexpr const char* kAttacker = "nobody";

class AttacksOnOthers : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "needs root to act as nobody";
        service.start({RX_RECORDING_SERVICE_BINARY,
                       {{"RX_WALK_SLOW_AGENT", kSlowAgent}, {"RX_WALK_SLEEP_MS", "8000"}, {"RX_WALK_BOUND_MS", "3000"}}});
        fs::permissions(service.root(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
        victim = rx::realUserLoginName();
    }

    static std::vector<std::string> walkOf(const std::string& user, const std::string& agent)
    {
        return {"mibwalk_XPC", "rx8240", user, "snmpwalk", "-Os", "-c", "ombrel", "-v", "1", agent, "1.3.6.1"};
    }

    // The victim's probe, staged write (several pieces) and walk all succeed.
    void expectVictimServed(const std::string& during)
    {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_THAT(runHelper({"qvPListIsAdminProfile_XPC", service.listPath(victim)}), HasSubstr("=TRUE")) << during;
        auto lists = std::make_unique<ProfileList[]>(3);
        for (int i = 0; i < kProfileListCapacity; ++i)
            std::snprintf(lists[0].litem[i].ProfileName, kProfileNameFieldSize, "Profile %d", i);
        EXPECT_EQ(QVPListWriteProfile_All(&lists[0], &lists[1], &lists[2]), 0) << during;
        EXPECT_THAT(runHelper(walkOf(victim, "127.0.0.1")), HasSubstr("=iRet=0")) << during;
        std::printf("[ victim  ] served during %s in %.2f s\n", during.c_str(),
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }

    // One request on an open connection; the reply, or "" when the service
    // closed the connection instead.
    static std::string request(int fd, std::string_view operation, const std::string& argument)
    {
        std::string reply;
        const auto deadline = svc::Clock::now() + std::chrono::seconds(30);
        if (!sendFrame(fd, std::string(operation)) || !sendFrame(fd, argument) ||
            svc::readFrame(fd, &reply, svc::kMaxFrameSize, deadline) != svc::FrameStatus::Ok)
            return {};
        return reply;
    }

    ServiceUnderRoot service;
    std::string victim;
};

TEST_F(AttacksOnOthers, ConnectionsBeyondTheUsersCapAreRefusedWhileOthersAreServed)
{
    int ready[2], release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    const std::string socket = service.socketPath();
    const std::string ownList = service.listPath(kAttacker);
    pid_t attacker = forkAsUser(kAttacker, [&] {
        close(release[1]);
        std::vector<rx::UniqueFd> held;
        int answered = 0;
        for (std::size_t i = 0; i < svc::kConnectionsPerUser + 8; ++i) {
            held.emplace_back(connectTo(socket));
            answered += request(held.back().get(), svc::kOpIsAdmin, ownList) == "TRUE";
        }
        (void)!write(ready[1], "r", 1);
        char c;
        (void)!read(release[0], &c, 1);  // holds every connection until released
        return answered;
    });
    close(ready[1]);
    close(release[0]);
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1) << "the attacker did not get going";
    expectVictimServed("32 and more held connections of another user");
    close(release[1]);
    EXPECT_EQ(waitChild(attacker), static_cast<int>(svc::kConnectionsPerUser)) << "connections the attacker got served";
    close(ready[0]);
}

TEST_F(AttacksOnOthers, AUsersSlowWalksDelayOnlyThatUser)
{
    std::atomic<bool> slowOver{false};
    std::string first, queued, joined;
    std::thread slow([&] {
        first = runHelperAs(kAttacker, walkOf(kAttacker, kSlowAgent));
        slowOver = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // The attacker's walk of another vector waits for its turn, one of the
    // same vector for the shared exchange; past the bound both fail.
    std::vector<std::string> otherCommunity = walkOf(kAttacker, kSlowAgent);
    std::replace(otherCommunity.begin(), otherCommunity.end(), std::string("ombrel"), std::string("ombrex"));
    std::thread waiting([&] { queued = runHelperAs(kAttacker, otherCommunity); });
    std::thread sharing([&] { joined = runHelperAs(kAttacker, walkOf(kAttacker, kSlowAgent)); });
    expectVictimServed("another user's slow walk");
    EXPECT_FALSE(slowOver) << "the victim waited for the attacker's walk";
    waiting.join();
    sharing.join();
    slow.join();
    EXPECT_THAT(first, HasSubstr("mibwalk_XPC=iRet=0"));
    EXPECT_THAT(queued, HasSubstr("mibwalk_XPC=iRet=1")) << "a walk waiting for its turn past the bound";
    EXPECT_THAT(joined, HasSubstr("mibwalk_XPC=iRet=1")) << "a walk waiting for a shared exchange past the bound";
}

TEST_F(AttacksOnOthers, StagingFilesListCountAndMemoryStayWithinTheirCaps)
{
    const std::string ownList = service.listPath(kAttacker);
    const std::string socket = service.socketPath();
    const std::string piece(1000 * 1000, 'x');
    pid_t attacker = forkAsUser(kAttacker, [&] {
        int accepted = 0;
        rx::UniqueFd connection(connectTo(socket));
        request(connection.get(), svc::kOpRemove, ownList + ".dummy");
        const std::string argument = svc::fileUrlFromPath(ownList) + ":AddURL:END" + piece;
        // Pieces of the staged write begun on the connection, until the first refusal.
        while (accepted < 16 && request(connection.get(), svc::kOpWritePiece, argument) == "TRUE")
            ++accepted;
        return accepted;
    });
    const int pieces = waitChild(attacker);
    EXPECT_EQ(static_cast<std::size_t>(pieces), kMaxListFileSize / piece.size()) << "pieces under the cap";
    EXPECT_FALSE(pathExists(ownList + ".dummy")) << "the staging file over the cap is removed";

    const std::string directory = service.profileDirectory();
    attacker = forkAsUser(kAttacker, [&] {
        int written = 0;
        std::string reply;
        for (std::size_t model = 0; model < svc::kMaxModelsPerUser + 8; ++model) {
            const std::string path = directory + "/" + kAttacker + "-m" + std::to_string(model) + "-profile.plist";
            svc::callService(socket, svc::kOpWriteDictionary, svc::fileUrlFromPath(path) + ":AddURL:ENDx", &reply);
            written += reply == "TRUE";
        }
        return written;
    });
    EXPECT_EQ(waitChild(attacker), static_cast<int>(svc::kMaxModelsPerUser)) << "model names the attacker got";
    expectVictimServed("staging and list-count attacks");
    const long peak = service.peakResidentKiB();
    std::printf("[ figures ] staging cap %zu bytes, %zu models per user, service peak memory %ld KiB\n",
                kMaxListFileSize, svc::kMaxModelsPerUser, peak);
    EXPECT_LT(peak, 64 * 1024) << "KiB at the peak";
}

// One user naming ever new model names, each a staged write begun, leaves
// the service's memory and another user's requests as they were: the lock
// table keeps no entry for a refused name nor for an ended or expired lease.
TEST_F(AttacksOnOthers, FreshModelNamesLeaveMemoryAndOtherUsersRequestsFlat)
{
    constexpr int kNames = 20000;
    const std::string socket = service.socketPath(), directory = service.profileDirectory();
    const std::string victimList = service.listPath(victim);
    auto victimMedianMs = [&] {
        rx::UniqueFd connection(connectTo(socket));
        std::vector<double> ms;
        for (int i = 0; i < 200; ++i) {
            const auto start = std::chrono::steady_clock::now();
            request(connection.get(), svc::kOpExist, victimList);
            ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::nth_element(ms.begin(), ms.begin() + 100, ms.end());
        return ms[100];
    };
    const long memoryBefore = service.residentKiB();
    const double victimBefore = victimMedianMs();
    pid_t attacker = forkAsUser(kAttacker, [&] {
        rx::UniqueFd connection(connectTo(socket));
        int begun = 0;
        for (int i = 0; i < kNames; ++i)
            begun += svc::isTrueReply(request(connection.get(), svc::kOpRemove,
                                              directory + "/" + kAttacker + "-m" + std::to_string(i) +
                                                  "-profile.plist.dummy"));
        return std::min(begun, 255);
    });
    const int begun = waitChild(attacker);
    const long memoryAfter = service.residentKiB();
    const double victimAfter = victimMedianMs();
    std::printf("[ figures ] %d fresh model names of one user, %d staged writes begun: service memory %ld -> %ld KiB, "
                "another user's request %.3f -> %.3f ms (median)\n",
                kNames, begun, memoryBefore, memoryAfter, victimBefore, victimAfter);
    EXPECT_EQ(begun, static_cast<int>(svc::kMaxModelsPerUser)) << "staged writes begun";
#if !defined(RX_SANITIZE_ADDRESS)
    // AddressSanitizer keeps freed memory in quarantine: the size says
    // nothing there.
    EXPECT_LT(memoryAfter - memoryBefore, 2048) << "KiB the service grew";
#endif
}

}  // namespace
