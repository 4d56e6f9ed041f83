// Sixteen plug-in processes writing, backing up and restoring one list file
// at the same time through the launcher and the service.
#include "ServiceFixture.h"

#include "platform/FixedPaths.h"
#include "profilelist/LauncherCalls.h"
#include "profilelist/ProfileList.h"
#include "protocol/ArgumentStrings.h"
#include "protocol/Framing.h"
#include "service/ColorProfileService.h"

#include <gmock/gmock.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace svc = svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;
using namespace rxtest;

namespace {

constexpr int kClients = 16;
constexpr int kRounds = 6;

std::unique_ptr<ProfileList[]> versionLists(int version)
{
    auto lists = std::make_unique<ProfileList[]>(3);
    for (int c = 0; c < 3; ++c) {
        for (int i = 0; i < 30; ++i) {
            ProfileListItem& item = lists[c].litem[i];
            item.iIndexOnDevice = i + 1;
            item.iInMenu = kStateDeviceShownConfirmed;
            std::snprintf(item.FileName, sizeof item.FileName, "V%05d_%d.ICC", version, i);
            std::snprintf(item.ProfileName, sizeof item.ProfileName, "Version %d", version);
            item.iLocation = kLocationDisk;
        }
        lists[c].iNum = 30;
    }
    return lists;
}

std::string versionText(int version)
{
    auto lists = versionLists(version);
    return QVPListBuildFileText(&lists[0], &lists[1], &lists[2]);
}

// One client: writes its versions, backs up and restores, in a fixed mix.
// Exit status: the number of writes that did not succeed.
[[noreturn]] void client(int index)
{
    alarm(120);  // a hanging request ends the client with a signal
    int failed = 0;
    for (int round = 0; round < kRounds; ++round) {
        switch ((index + round) % 3) {
        case 0:
        case 1: {
            auto lists = versionLists(index * 100 + round);
            if (QVPListWriteProfile_All(&lists[0], &lists[1], &lists[2]) != 0)
                ++failed;
            break;
        }
        case 2:
            QVPListSwapProfile(round % 2 ? kSwapBackup : kSwapRestore);
            break;
        }
    }
    _exit(failed);
}

TEST(ServiceConcurrency, SixteenClientsEndWithOneOfTheWrittenVersions)
{
    ServiceUnderRoot service;
    service.start({RX_SERVICE_BINARY, {}});
    const std::string current = service.listPath(rx::realUserLoginName());

    std::set<std::string> versions{versionText(-1)};
    for (int index = 0; index < kClients; ++index)
        for (int round = 0; round < kRounds; ++round)
            versions.insert(versionText(index * 100 + round));
    auto initial = versionLists(-1);
    ASSERT_EQ(QVPListWriteProfile_All(&initial[0], &initial[1], &initial[2]), 0);
    {
        // Every version is several pieces long, so pieces could interleave.
        auto text = QVPListUtf16FromUtf8(versionText(0));
        ASSERT_GE(splitCharEvery(*text, kPieceLength).size(), 2u);
    }

    std::vector<pid_t> clients;
    for (int index = 0; index < kClients; ++index) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0)
            client(index);
        clients.push_back(pid);
    }
    int failedWrites = 0;
    for (pid_t pid : clients) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status)) << "a client hung or crashed";
        failedWrites += WEXITSTATUS(status);
    }
    EXPECT_EQ(failedWrites, 0);
    EXPECT_TRUE(versions.count(readFile(current))) << "the list file is no written version";
    EXPECT_FALSE(pathExists(current + ".dummy"));
    EXPECT_TRUE(service.running());
}

// The service as the installed unit runs it: as an unprivileged account,
// with /proc mounted hidepid=invisible,subset=pid in a mount namespace of its
// own, so that it sees none of its callers' processes.
constexpr const char* kServiceAccount = "nobody";
constexpr const char* kWriterAccount = "daemon";

std::string hiddenProcServiceScript(const std::string& directory)
{
    const std::string script = directory + "/hidden-proc-service";
    std::ofstream out(script);
    out << "#!/bin/sh\n"
        << "list=\"$TARNVALE_ROOT" << rx::kProfileDirectory << "\"\n"
        << "mkdir -p \"$list\" && chown " << kServiceAccount << " \"$list\" \"$(dirname \"$2\")\" || exit 125\n"
        << "exec unshare -m --propagation private sh -c 'mount -t proc -o hidepid=invisible,subset=pid proc /proc"
        << " && exec setpriv --reuid=" << kServiceAccount << " --regid=nogroup --clear-groups \"$0\" \"$@\"' '"
        << RX_SERVICE_BINARY << "' \"$@\"\n";
    out.close();
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    return script;
}

// One writer: a child of a parent of its own, writing its versions in turn.
// Exit status: the number of writes that did not succeed.
int writerUnderItsOwnParent(int index, int rounds)
{
    const pid_t writer = fork();
    if (writer == 0) {
        alarm(120);
        int failed = 0;
        for (int round = 0; round < rounds; ++round) {
            auto lists = versionLists(1000 * index + round);
            failed += QVPListWriteProfile_All(&lists[0], &lists[1], &lists[2]) != 0;
        }
        _exit(failed);
    }
    return waitChild(writer);
}

TEST(ServiceConcurrency, TwoWritersOfOneUserStayApartWhenTheServiceCannotSeeTheirProcesses)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root for a mount namespace and the two accounts";
    const char* base = std::getenv("RX_TEST_ROOT");
    ASSERT_NE(base, nullptr);
    ServiceUnderRoot service;
    service.start({hiddenProcServiceScript(base), {}});
    // The service really runs with the hidden /proc.
    const std::string mounts = readFile("/proc/" + std::to_string(service.pid()) + "/mountinfo");
    ASSERT_THAT(mounts, ::testing::ContainsRegex(" /proc [^\n]*hidepid=invisible"));

    constexpr int kWriterRounds = 8;
    const std::string current = service.listPath(kWriterAccount);
    std::set<std::string> versions;
    for (int index : {1, 2})
        for (int round = 0; round < kWriterRounds; ++round)
            versions.insert(versionText(1000 * index + round));
    pid_t parents[2];
    for (int index : {1, 2})
        parents[index - 1] =
            forkAsUser(kWriterAccount, [index] { return writerUnderItsOwnParent(index, kWriterRounds); });
    EXPECT_EQ(waitChild(parents[0]) + waitChild(parents[1]), 0) << "writes that failed";
    EXPECT_TRUE(versions.count(readFile(current))) << "the list is no whole written version";
    EXPECT_FALSE(pathExists(current + ".dummy"));
    EXPECT_TRUE(service.running());
}

// Requests of one user that would each make a list of a new model name, all
// at once: the check of the cap and the creation are one step, so no more
// than the cap of model names come to be.
TEST(ServiceConcurrency, SimultaneousNewModelNamesStayWithinTheCap)
{
    ServiceUnderRoot service;
    service.start({RX_SERVICE_BINARY, {}});
    const std::string user = rx::realUserLoginName(), socket = service.socketPath();
    constexpr std::size_t kFirst = svc::kMaxModelsPerUser - 4, kAttempts = 24;
    for (std::size_t m = 0; m < kFirst; ++m)
        writeFile(service.listPath(user, "-m" + std::to_string(m) + "-profile.plist"), "x");
    std::atomic<bool> go{false};
    std::vector<std::thread> writers;
    for (std::size_t m = kFirst; m < kFirst + kAttempts; ++m)
        writers.emplace_back([&, m] {
            const std::string path = service.listPath(user, "-m" + std::to_string(m) + "-profile.plist");
            while (!go)
                std::this_thread::yield();
            std::string reply;
            svc::callService(socket, svc::kOpWriteDictionary, svc::fileUrlFromPath(path) + ":AddURL:ENDx", &reply);
        });
    go = true;
    for (std::thread& writer : writers)
        writer.join();
    std::size_t models = 0;
    for (const auto& entry : std::filesystem::directory_iterator(service.profileDirectory()))
        models += entry.path().filename().string().starts_with(user + "-m");
    EXPECT_EQ(models, svc::kMaxModelsPerUser);
}

}  // namespace
