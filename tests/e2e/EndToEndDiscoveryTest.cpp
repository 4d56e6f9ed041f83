// Discovery end to end: pdehost asks the real plug-in for its view on a queue
// whose device URI names 127.0.0.1; the plug-in probes and backs up through
// the installed launcher, the real service walks snmpsimd's profile table on
// 127.0.0.1:161 and merges it into the user's list file. Everything runs in
// a private network namespace under the test's root and is stopped after
// the suite.
//
// Built with RX_INSTALLED_TREE, the same runs use the Debian package
// unpacked into the test's root instead of the build tree: the service and
// the launcher from its libexec directory, pdehost from its bin, the bundle
// and the PPD from their installed places, and nothing of the build tree.
// As root, the service then runs as an unprivileged account (daemon) and
// pdehost as an ordinary user (nobody), as on an installed system.
#include "tests/support/Files.h"
#include "tests/support/UnixSocket.h"
#include "tests/discovery/SnmpTestAgents.h"
#include "tests/e2e/PrivateNetwork.h"

#include "platform/FixedPaths.h"
#include "profilelist/ListFileReader.h"
#include "profilelist/ProfileList.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

using rxtest::readFile;
using rxtest::writeFile;

std::string env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

#ifndef RX_INSTALLED_TREE
#define RX_INSTALLED_TREE 0
#endif

// The program to run as `account` (empty: as this process).
std::vector<std::string> runAs(const std::string& account, std::vector<std::string> argv)
{
    if (account.empty())
        return argv;
    const std::string group = account == "nobody" ? "nogroup" : account;
    argv.insert(argv.begin(), {"setpriv", "--reuid=" + account, "--regid=" + group, "--clear-groups", "--"});
    return argv;
}

// The printer, the service and the installed launcher, shared by the suite.
struct World {
    e2e::Network network = e2e::Network::Unavailable;
    std::string problem;
    fs::path root;
    fs::path agentDir;
    fs::path socketDir;
    pid_t agent = -1;
    pid_t service = -1;
    std::string login;
    // Where the programs come from, and the accounts they run as.
    fs::path serviceProgram = RX_SERVICE_BINARY;
    fs::path pdehostProgram = RX_PDEHOST_BINARY;
    fs::path ppd = env("RX_BUNDLE_DIR") + "/Resources/rx8240.ppd";
    std::string bundle = env("RX_BUNDLE_DIR");
    std::string serviceAccount, userAccount;

    std::string socketPath() const { return (socketDir / "service.sock").string(); }
    fs::path list(ProfileListFile which) const { return QVPListFormPath(login, "rx8240", which); }
    fs::path agentLog() const { return agentDir / "agent.log"; }

    // Writes the user's current list as the service would have left it.
    void seedList(const std::string& text) const
    {
        writeFile(list(kListCurrent), text);
        if (!serviceAccount.empty()) {
            EXPECT_EQ(::chown(list(kListCurrent).c_str(), 1, 1), 0);
        }
    }

    bool start();
    bool installPrograms();
    bool unpackPackage();
    void stopAll();
};

// The launcher at its fixed path, as the package installs it; the programs
// of the build tree.
bool World::installPrograms()
{
    const fs::path launcher = rx::fixedPath(rx::kLauncherPath);
    fs::create_directories(launcher.parent_path());
    fs::copy_file(RX_LAUNCHER_BINARY, launcher, fs::copy_options::overwrite_existing);
    fs::create_directories(QVPListProfileDirectory());
    return true;
}

// The package unpacked into the root; the state directory made as the
// package's set-up makes it, owned by the service's account.
bool World::unpackPackage()
{
    std::string package;
    std::error_code missing;
    for (const auto& entry : fs::directory_iterator(env("RX_PACKAGE_DIR"), missing))
        if (entry.path().extension() == ".deb")
            package = entry.path();
    const pid_t unpack = e2e::spawn({"dpkg-deb", "-x", package, root.string()}, (root.string() + ".unpack.log"));
    if (package.empty() || unpack < 0 || e2e::waitFor(unpack, 60.0) != 0) {
        problem = "cannot unpack the package from " + env("RX_PACKAGE_DIR") + ": " + readFile(root.string() + ".unpack.log");
        return false;
    }
    // Nothing of the build tree reaches the programs.
    for (const char* name : {"RX_BUNDLE_DIR", "RX_SOURCE_DIR", "RX_BINARY_DIR"})
        ::unsetenv(name);
    serviceProgram = rx::fixedPath(rx::kServicePath);
    pdehostProgram = rx::fixedPath(RX_INSTALL_FULL_BINDIR "/pdehost");
    ppd = rx::fixedPath(rx::kPpdPath);
    bundle.clear();
    const fs::path state = QVPListProfileDirectory();
    fs::create_directories(state);
    if (::geteuid() == 0 && network == e2e::Network::PrivateRoot) {
        serviceAccount = "daemon";
        userAccount = "nobody";
        const fs::path home = root / "home-nobody";
        fs::create_directories(home / "run");
        if (::chown(state.c_str(), 1, 1) != 0 || ::chown(home.c_str(), 65534, 65534) != 0 ||
            ::chown((home / "run").c_str(), 65534, 65534) != 0 || ::chmod((home / "run").c_str(), 0700) != 0) {
            problem = "cannot hand the state directory to the service's account";
            return false;
        }
        ::setenv("HOME", home.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (home / "run").c_str(), 1);
        login = userAccount;
    }
    return true;
}

// The process enters its network once; every suite's world lives in it.
e2e::Network processNetwork(std::string* why)
{
    static std::string problem;
    static const e2e::Network network = e2e::enterPrivateNetwork(&problem);
    *why = problem;
    return network;
}

bool World::start()
{
    network = processNetwork(&problem);
    if (network == e2e::Network::Unavailable)
        return false;
    login = rx::realUserLoginName();
    root = env("RX_TEST_ROOT");
    if (root.empty() || login.empty()) {
        problem = "no RX_TEST_ROOT or no login name";
        return false;
    }
    fs::remove_all(root);
    fs::create_directories(root);
    ::setenv("TARNVALE_ROOT", root.c_str(), 1);
    snmptest::isolateNetSnmp();
    // Read once, before an installed-tree run hides the build tree.
    static const std::string table = snmptest::fixture("rows-1-3.snmprec");
    if (!(RX_INSTALLED_TREE ? unpackPackage() : installPrograms()))
        return false;

    // The simulated printer: three profiles, one RGB source on disk and two
    // simulation/destination profiles, on card and disk.
    char dirTemplate[] = "/tmp/rx8240-e2e-XXXXXX";
    if (!::mkdtemp(dirTemplate)) {
        problem = "mkdtemp failed";
        return false;
    }
    agentDir = dirTemplate;
    fs::create_directories(agentDir / "data");
    fs::create_directories(agentDir / "cache");
    for (const fs::path& p : {agentDir, agentDir / "data", agentDir / "cache"})
        fs::permissions(p, fs::perms::all);
    writeFile(agentDir / "data" / "ombrel.snmprec", table);
    fs::permissions(agentDir / "data" / "ombrel.snmprec", fs::perms::owner_all | fs::perms::group_read |
                                                              fs::perms::others_read);
    const e2e::AgentLaunch launch = e2e::agentLaunch(network);
    std::vector<std::string> argv = launch.prefix;
    for (const std::string& a : {std::string("snmpsimd"), "--data-dir=" + (agentDir / "data").string(),
                                 "--cache-dir=" + (agentDir / "cache").string(),
                                 std::string("--agent-udpv4-endpoint=127.0.0.1:161"),
                                 "--logging-method=file:" + agentLog().string()})
        argv.push_back(a);
    argv.insert(argv.end(), launch.options.begin(), launch.options.end());
    agent = e2e::spawn(argv, (agentDir / "agent.out").string());
    bool ready = false;
    for (auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
         agent > 0 && !ready && std::chrono::steady_clock::now() < deadline;)
        ready = snmptest::agentAnswers(161, 200);
    if (!ready) {
        problem = "snmpsimd did not answer on 127.0.0.1:161: " + readFile(agentDir / "agent.out");
        return false;
    }

    // The service on a private socket; the launchers started by pdehost find
    // it through the environment.
    char socketTemplate[] = "/tmp/rx8240-e2e-sock-XXXXXX";
    if (!::mkdtemp(socketTemplate)) {
        problem = "mkdtemp failed";
        return false;
    }
    socketDir = socketTemplate;
    if (!serviceAccount.empty() && (::chown(socketDir.c_str(), 1, 1) != 0 || ::chmod(socketDir.c_str(), 0755) != 0)) {
        problem = "cannot hand the socket directory to the service's account";
        return false;
    }
    ::setenv("RX8240_SERVICE_SOCKET", socketPath().c_str(), 1);
    service = e2e::spawn(runAs(serviceAccount, {serviceProgram.string(), "--listen", socketPath()}),
                         (root / "service.log").string());
    for (int i = 0; i < 500 && service > 0 && !rxtest::unixSocketAccepts(socketPath()); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!rxtest::unixSocketAccepts(socketPath())) {
        problem = "the service did not listen: " + readFile(root / "service.log");
        return false;
    }
    return true;
}

void World::stopAll()
{
    e2e::stop(service);
    e2e::stop(agent);
    service = agent = -1;
    std::error_code ignored;
    if (!socketDir.empty())
        fs::remove_all(socketDir, ignored);
    if (!agentDir.empty())
        fs::remove_all(agentDir, ignored);
}

World* world = nullptr;

// A list file holding these entries; the other slots empty.
struct Entry {
    int classIndex;
    int32_t index;
    int32_t state;
    int32_t profileClass;
    int32_t location;
    const char* fileName;
    const char* profileName;
};

std::string listText(const std::vector<Entry>& entries)
{
    auto lists = std::make_unique<ProfileList[]>(3);
    std::memset(lists.get(), 0, sizeof(ProfileList) * 3);
    for (const Entry& e : entries) {
        ProfileList& l = lists[static_cast<size_t>(e.classIndex)];
        ProfileListItem& item = l.litem[l.iNum++];
        item.iIndexOnDevice = e.index;
        item.iInMenu = e.state;
        item.iProfileClass = e.profileClass;
        item.iLocation = e.location;
        QVPListCopyName(item.FileName, e.fileName, std::strlen(e.fileName));
        QVPListCopyName(item.ProfileName, e.profileName, std::strlen(e.profileName));
    }
    return QVPListBuildFileText(&lists[0], &lists[1], &lists[2]);
}

// Every used slot of a list file as "CLASS index state class location file name".
std::vector<std::string> listEntries(const fs::path& path)
{
    auto lists = std::make_unique<ProfileList[]>(3);
    std::memset(lists.get(), 0, sizeof(ProfileList) * 3);
    ProfileList* targets[3] = {&lists[0], &lists[1], &lists[2]};
    std::vector<std::string> out;
    if (profilelist::readListFile(path.string(), targets, profilelist::ReadMode::Plain) != profilelist::ReadStatus::Ok)
        return {"unreadable"};
    for (int c = 0; c < 3; ++c)
        for (int n = 0; n < lists[size_t(c)].iNum; ++n) {
            const ProfileListItem& it = lists[size_t(c)].litem[n];
            std::ostringstream line;
            line << QVPListClassKey(c) << ' ' << it.iIndexOnDevice << ' ' << it.iInMenu << ' ' << it.iProfileClass
                 << ' ' << it.iLocation << ' ' << std::string(it.FileName, strnlen(it.FileName, 32)) << ' '
                 << std::string(it.ProfileName, strnlen(it.ProfileName, 32));
            out.push_back(line.str());
        }
    return out;
}

// Walk requests the agent has logged so far.
size_t agentRequests()
{
    std::istringstream log(readFile(world->agentLog()));
    size_t n = 0;
    for (std::string line; std::getline(log, line);)
        if (line.find("flags: NEXT") != std::string::npos)
            ++n;
    return n;
}

struct HostRun {
    int exitCode;
    std::string output;
};

// Runs a program of the world as the user, with its output.
HostRun runAsUser(const std::vector<std::string>& argv)
{
    const fs::path log = world->root / "run.log";
    fs::remove(log);
    const pid_t pid = e2e::spawn(runAs(world->userAccount, argv), log.string());
    const int code = pid > 0 ? e2e::waitFor(pid, 60.0) : -3;
    return {code, readFile(log)};
}

// pdehost on the rx8240 PPD with this device URI, running `actions`.
HostRun pdehost(const std::string& deviceUri, const std::vector<std::string>& actions)
{
    std::vector<std::string> argv{world->pdehostProgram, "--ppd", world->ppd, "--printer-id", "rx8240",
                                  "--device-uri", deviceUri};
    if (!world->bundle.empty())
        argv.insert(argv.end(), {"--bundle", world->bundle});
    argv.insert(argv.end(), actions.begin(), actions.end());
    return runAsUser(argv);
}

HostRun pdehostView(const std::string& deviceUri)
{
    return pdehost(deviceUri, {"view"});
}

class EndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        world = new World;
        if (!world->start())
            world->stopAll();
    }
    static void TearDownTestSuite()
    {
        world->stopAll();
        delete world;
        world = nullptr;
    }
    void SetUp() override
    {
        if (world->network == e2e::Network::Unavailable)
            GTEST_SKIP() << "no private network for the agent: " << world->problem;
        ASSERT_TRUE(world->problem.empty()) << world->problem;
        fs::remove(world->list(kListPrevious));
        fs::remove(world->list(kListCurrent));
    }
};

// The device's table (rows-1-3): 101 PROF1.ICC class 1 on disk, 102 PROF2.ICC
// class 3 on card, 103 PROF3.ICC class 3 on disk.
const std::vector<std::string> kAllDiscovered = {
    "RGB 101 2 1 4 PROF1.ICC Profile 1", "SIM 102 2 3 5 PROF2.ICC Profile 2", "SIM 103 2 3 4 PROF3.ICC Profile 3",
    "DST 102 2 3 5 PROF2.ICC Profile 2", "DST 103 2 3 4 PROF3.ICC Profile 3"};

struct ViewCase {
    const char* name;
    const char* deviceUri;
    std::vector<Entry> before;
    bool walks;
    std::vector<std::string> after;  // empty: the current file is left as it was
};

const ViewCase kViewCases[] = {
    {"FirstDiscoveryListsTheAgentsProfilesAsConfirmed", "lpd://127.0.0.1/queue", {}, true, kAllDiscovered},
    {"PortOfTheQueueIsNotTheAgentsPort", "lpd://127.0.0.1:515/queue", {}, true, kAllDiscovered},
    {"OfferedProfileReportedAgainStaysOfferedAndIsConfirmed",
     "lpd://127.0.0.1/queue",
     {{kClassRGB, 101, kStateDeviceShown, 1, kLocationDisk, "PROF1.ICC", "My photo profile"}},
     true,
     {"RGB 101 4 1 4 PROF1.ICC My photo profile", "SIM 102 2 3 5 PROF2.ICC Profile 2",
      "SIM 103 2 3 4 PROF3.ICC Profile 3", "DST 102 2 3 5 PROF2.ICC Profile 2", "DST 103 2 3 4 PROF3.ICC Profile 3"}},
    {"UsbQueueIsBackedUpButNotWalked",
     "usb://TARNVALE/rx8240",
     {{kClassRGB, 101, kStateDeviceShown, 1, kLocationDisk, "PROF1.ICC", "My photo profile"}},
     false,
     {}},
    {"IppQueueIsBackedUpButNotWalked",
     "ipp://127.0.0.1/printers/rx8240",
     {{kClassDST, 103, kStateDeviceShown, 3, kLocationDisk, "PROF3.ICC", "Proof"}},
     false,
     {}},
};

class ViewRequest : public EndToEnd, public ::testing::WithParamInterface<ViewCase> {};

TEST_P(ViewRequest, BacksUpThenWalksTheQueuesDevice)
{
    const ViewCase& c = GetParam();
    const std::string before = listText(c.before);
    world->seedList(before);
    const size_t requestsBefore = agentRequests();

    const HostRun run = pdehostView(c.deviceUri);
    ASSERT_EQ(run.exitCode, 0) << run.output;

    // The backup holds the list as it stood before this view request.
    ASSERT_TRUE(fs::exists(world->list(kListPrevious))) << run.output;
    EXPECT_EQ(readFile(world->list(kListPrevious)), before);

    if (c.walks) {
        EXPECT_GT(agentRequests(), requestsBefore) << "the agent was not walked";
        EXPECT_EQ(listEntries(world->list(kListCurrent)), c.after);
    } else {
        EXPECT_EQ(agentRequests(), requestsBefore) << "a queue without discovery walked the agent";
        EXPECT_EQ(readFile(world->list(kListCurrent)), before);
    }
}

INSTANTIATE_TEST_SUITE_P(Queues, ViewRequest, ::testing::ValuesIn(kViewCases),
                         [](const ::testing::TestParamInfo<ViewCase>& caseInfo) { return std::string(caseInfo.param.name); });

// A second view request takes a fresh backup of the list the first one wrote
// and walks again: the list stays the same, and nothing is listed twice.
TEST_F(EndToEnd, SecondViewRequestBacksUpTheDiscoveredList)
{
    world->seedList(listText({}));
    ASSERT_EQ(pdehostView("lpd://127.0.0.1/queue").exitCode, 0);
    const std::string afterFirst = readFile(world->list(kListCurrent));
    ASSERT_EQ(listEntries(world->list(kListCurrent)), kAllDiscovered);

    const HostRun second = pdehostView("lpd://127.0.0.1/queue");
    ASSERT_EQ(second.exitCode, 0) << second.output;
    EXPECT_EQ(readFile(world->list(kListPrevious)), afterFirst);
    EXPECT_EQ(listEntries(world->list(kListCurrent)), kAllDiscovered);
}

// The profile window writes the list through the launcher in pieces and a
// commit; the user reads the file the service wrote.
TEST_F(EndToEnd, ProfileWindowWritesTheListThroughTheLauncher)
{
    world->seedList(listText({}));
    const HostRun run = pdehost("usb://TARNVALE/rx8240", {"restore", "profiles", "profiles-add", "profiles-filename",
                                                          "PROOF.ICC", "profiles-name", "Proof copy",
                                                          "profiles-location", "1", "profiles-ok",
                                                          "profiles-window-ok"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(listEntries(world->list(kListCurrent)), std::vector<std::string>{"RGB 500 6 2 5 PROOF.ICC Proof copy"});
#if RX_INSTALLED_TREE
    const HostRun shown = runAsUser({rx::fixedPath(RX_INSTALL_FULL_BINDIR "/rx8240-profiles"), "show",
                                     world->list(kListCurrent).string()});
    ASSERT_EQ(shown.exitCode, 0) << shown.output;
    EXPECT_NE(shown.output.find("PROOF.ICC\tProof copy"), std::string::npos) << shown.output;
#endif
}

// Without the service the probe fails: the view still comes, no backup is
// taken and the list is not touched.
TEST_F(EndToEnd, WithoutTheServiceTheViewComesAndNoFileChanges)
{
    const std::string before = listText({{kClassRGB, 101, kStateDeviceShown, 1, kLocationDisk, "PROF1.ICC", "P"}});
    world->seedList(before);
    const std::string socket = env("RX8240_SERVICE_SOCKET");
    ::setenv("RX8240_SERVICE_SOCKET", (world->socketDir / "absent.sock").c_str(), 1);
    const size_t requestsBefore = agentRequests();
    const HostRun run = pdehostView("lpd://127.0.0.1/queue");
    ::setenv("RX8240_SERVICE_SOCKET", socket.c_str(), 1);

    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_FALSE(fs::exists(world->list(kListPrevious)));
    EXPECT_EQ(readFile(world->list(kListCurrent)), before);
    EXPECT_EQ(agentRequests(), requestsBefore);
}

}  // namespace
