#include "service/ServiceMain.h"

#include "platform/FixedPaths.h"
#include "protocol/Framing.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <syslog.h>
#include <unistd.h>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

namespace {

constexpr int kFirstActivatedFd = 3;

// The first socket of systemd socket activation, or -1.
int activatedSocket()
{
    const char* pid = std::getenv("LISTEN_PID");
    const char* fds = std::getenv("LISTEN_FDS");
    if (!pid || !fds || std::strtol(pid, nullptr, 10) != getpid() || std::strtol(fds, nullptr, 10) < 1)
        return -1;
    unsetenv("LISTEN_PID");
    unsetenv("LISTEN_FDS");
    unsetenv("LISTEN_FDNAMES");
    int type = 0;
    socklen_t size = sizeof type;
    if (getsockopt(kFirstActivatedFd, SOL_SOCKET, SO_TYPE, &type, &size) != 0 || type != SOCK_STREAM)
        return -1;
    return kFirstActivatedFd;
}

// Binds and listens on a path; a stale socket left there is replaced, any
// other file is not.
int listenOn(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        std::fprintf(stderr, "ColorProfileService: socket path too long: %s\n", path.c_str());
        return -1;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode))
        unlink(path.c_str());
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        chmod(path.c_str(), 0666) != 0 || listen(fd, 64) != 0) {
        std::fprintf(stderr, "ColorProfileService: cannot listen on %s: %s\n", path.c_str(), std::strerror(errno));
        close(fd);
        return -1;
    }
    return fd;
}

// Creates the profile directory and its parents when absent.
void makeDirectories(const std::string& path)
{
    for (std::size_t at = 1; at <= path.size(); ++at)
        if (at == path.size() || path[at] == '/')
            mkdir(path.substr(0, at).c_str(), 0755);
}

}  // namespace

int serviceMain(int argc, char* argv[], WalkSteps walk, const ServiceSettings& settings)
{
    static constexpr char kUsage[] = "usage: ColorProfileService [--listen PATH]\n";
    std::string listenPath;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("ColorProfileService " RX_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--listen") == 0 && i + 1 < argc) {
            listenPath = argv[++i];
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    openlog("ColorProfileService", LOG_PID, LOG_DAEMON);
    std::signal(SIGPIPE, SIG_IGN);

    int fd = listenPath.empty() ? activatedSocket() : -1;
    if (fd < 0)
        fd = listenOn(listenPath.empty() ? serviceSocketPath() : listenPath);
    if (fd < 0)
        return 1;
    // Nothing is created before the socket listens: a service that cannot
    // serve leaves the file system as it found it.
    static ServiceContext context(rx::fixedPath(rx::kProfileDirectory), walk, settings);
    makeDirectories(context.profileDirectory);
    QVmacXPCServiceDelegate delegate(context);
    delegate.run(fd);
}

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
