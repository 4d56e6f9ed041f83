// Sixteen plug-in processes writing, backing up and restoring one list file
// at the same time through the launcher and the service.
#include "ServiceFixture.h"

#include "platform/FixedPaths.h"
#include "profilelist/LauncherCalls.h"
#include "profilelist/ProfileList.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

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

}  // namespace
