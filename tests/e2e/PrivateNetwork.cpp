#include "tests/e2e/PrivateNetwork.h"

#include "platform/FileDescriptor.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>

extern char** environ;

namespace e2e {

namespace {

bool writeProcFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path);
    out << text;
    out.flush();
    return static_cast<bool>(out);
}

bool loopbackUp()
{
    const rx::UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!fd)
        return false;
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool ok = ::ioctl(fd.get(), SIOCGIFFLAGS, &request) == 0;
    if (ok && !(request.ifr_flags & IFF_UP)) {
        request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP | IFF_RUNNING);
        ok = ::ioctl(fd.get(), SIOCSIFFLAGS, &request) == 0;
    }
    return ok;
}

bool port161Free()
{
    const rx::UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(161);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return fd && ::bind(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

}  // namespace

Network enterPrivateNetwork(std::string* why)
{
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    if (::geteuid() == 0) {
        if (::unshare(CLONE_NEWNET) == 0 && loopbackUp())
            return Network::PrivateRoot;
        if (port161Free())
            return Network::HostLoopback;
        *why = "no network namespace (" + std::string(std::strerror(errno)) + ") and port 161 is taken";
        return Network::Unavailable;
    }
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0) {
        *why = "no user and network namespace: " + std::string(std::strerror(errno));
        return Network::Unavailable;
    }
    if (!writeProcFile("/proc/self/setgroups", "deny") ||
        !writeProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
        !writeProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
        *why = "cannot map the user into the new namespace";
        return Network::Unavailable;
    }
    // The agent runs as an unmapped-looking user of a nested namespace, so
    // the low ports of this network are opened to every user.
    if (!loopbackUp() || !writeProcFile("/proc/sys/net/ipv4/ip_unprivileged_port_start", "0")) {
        *why = "cannot bring up the private loopback";
        return Network::Unavailable;
    }
    return Network::PrivateUser;
}

AgentLaunch agentLaunch(Network network)
{
    AgentLaunch launch;
    if (network == Network::PrivateUser)
        launch.prefix = {"unshare", "--user", "--map-user=65534", "--map-group=65534"};
    else
        launch.options = {"--process-user=nobody", "--process-group=nogroup"};
    return launch;
}

pid_t spawn(const std::vector<std::string>& argv, const std::string& logFile)
{
    std::vector<char*> args;
    std::vector<std::string> copies = argv;
    for (std::string& a : copies)
        args.push_back(a.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    pid_t pid = -1;
    const int rc = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

int waitFor(pid_t pid, double seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -2;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void stop(pid_t pid)
{
    if (pid <= 0)
        return;
    ::kill(pid, SIGTERM);
    waitFor(pid, 5.0);
}

}  // namespace e2e
