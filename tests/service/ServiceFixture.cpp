#include "ServiceFixture.h"

#include "platform/FixedPaths.h"
#include "profilelist/LauncherCalls.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace rxtest {

void ServiceUnderRoot::start(const ServiceOptions& options)
{
    const char* base = std::getenv("RX_TEST_ROOT");
    ASSERT_NE(base, nullptr) << "RX_TEST_ROOT is not set";
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = std::string(base) + "/" + info->test_suite_name() + "." + info->name();
    std::replace(root_.begin() + static_cast<long>(std::strlen(base)) + 1, root_.end(), '/', '_');
    fs::remove_all(root_);
    fs::create_directories(root_);
    fs::permissions(root_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
    setenv("TARNVALE_ROOT", root_.c_str(), 1);

    const std::string launcher = rx::fixedPath(rx::kLauncherPath);
    fs::create_directories(fs::path(launcher).parent_path());
    fs::copy_file(RX_LAUNCHER_BINARY, launcher, fs::copy_options::overwrite_existing);
    // Every component readable and searchable for other users' launchers.
    for (fs::path p = fs::path(launcher).parent_path(); p.string().size() > root_.size(); p = p.parent_path())
        fs::permissions(p, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);

    ASSERT_TRUE(process_.start(options.binary, options.environment)) << "service did not start listening";
    setenv("RX8240_SERVICE_SOCKET", socketPath().c_str(), 1);
    // The service makes its profile directory only after it listens; a test
    // that writes a list file at once would otherwise write into nothing.
    ASSERT_TRUE(profileDirectoryAppears()) << "service did not make " << profileDirectory();
}

bool ServiceUnderRoot::profileDirectoryAppears() const
{
    for (int i = 0; i < 2000; ++i) {
        if (fs::is_directory(profileDirectory()))
            return true;
        if (!process_.alive())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

std::string ServiceUnderRoot::profileDirectory() const
{
    return root_ + std::string(rx::kProfileDirectory);
}

std::string ServiceUnderRoot::listPath(const std::string& user, const std::string& suffix) const
{
    return profileDirectory() + "/" + user + suffix;
}

std::string runHelper(const std::vector<std::string>& arguments)
{
    return QVPListRunLauncher(arguments).value_or("");
}

std::string runHelperAs(const std::string& user, const std::vector<std::string>& arguments)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        std::string reuid = "--reuid=" + user;
        std::string launcher = QVPListLauncherPath();
        std::vector<const char*> argv{"setpriv", reuid.c_str(), "--regid=nogroup", "--clear-groups", launcher.c_str()};
        for (const auto& a : arguments)
            argv.push_back(a.c_str());
        argv.push_back(nullptr);
        execvp("setpriv", const_cast<char* const*>(argv.data()));
        _exit(127);
    }
    close(fds[1]);
    std::string out;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0)
        out.append(buffer, static_cast<std::size_t>(n));
    close(fds[0]);
    int status;
    waitpid(pid, &status, 0);
    return out;
}

pid_t forkAsUser(const std::string& user, const std::function<int()>& body)
{
    const passwd* account = getpwnam(user.c_str());
    const group* nogroup = getgrnam("nogroup");
    if (!account || !nogroup)
        return -1;
    const uid_t uid = account->pw_uid;
    const gid_t gid = nogroup->gr_gid;
    pid_t pid = fork();
    if (pid == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)
            _exit(126);
        _exit(body());
    }
    return pid;
}

int waitChild(pid_t pid)
{
    int status = 0;
    if (pid <= 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

std::map<std::string, std::string> snapshot(const std::string& directory)
{
    std::map<std::string, std::string> entries;
    for (auto it = fs::recursive_directory_iterator(directory); it != fs::recursive_directory_iterator(); ++it) {
        const auto& entry = *it;
        std::string key = entry.path().string();
        if (entry.is_symlink())
            entries[key] = "link:" + fs::read_symlink(entry.path()).string();
        else if (entry.is_regular_file())
            entries[key] = "file:" + readFile(key);
        else if (entry.is_directory())
            entries[key] = "dir";
        else
            entries[key] = "other";
    }
    return entries;
}

int connectTo(const std::string& socketPath)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

bool sendFrame(int fd, const std::string& payload)
{
    uint32_t size = static_cast<uint32_t>(payload.size());
    unsigned char header[4] = {static_cast<unsigned char>(size >> 24), static_cast<unsigned char>(size >> 16),
                               static_cast<unsigned char>(size >> 8), static_cast<unsigned char>(size)};
    return send(fd, header, 4, MSG_NOSIGNAL) == 4 &&
           (payload.empty() ||
            send(fd, payload.data(), payload.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(payload.size()));
}

bool closedByPeer(int fd, double seconds)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    char buffer[256];
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) > 0) {
            ssize_t n = recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                return true;
        }
    }
    return false;
}

}  // namespace rxtest
