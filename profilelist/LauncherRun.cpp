// Running the launcher: one request to the service per process, its
// standard output read through a pipe.
#include "profilelist/LauncherCalls.h"

#include "platform/FixedPaths.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::atomic<std::size_t> launcherRuns{0};

struct Pipe {
    int fds[2] = {-1, -1};
    ~Pipe()
    {
        for (int fd : fds)
            if (fd >= 0)
                close(fd);
    }
    void closeEnd(int i)
    {
        close(fds[i]);
        fds[i] = -1;
    }
};

}  // namespace

std::string QVPListLauncherPath()
{
    return rx::fixedPath(rx::kLauncherPath);
}

std::size_t QVPListLauncherRuns()
{
    return launcherRuns.load();
}

std::optional<std::string> QVPListRunLauncher(const std::vector<std::string>& commandAndArguments)
{
    const std::string launcher = QVPListLauncherPath();
    struct stat st;
    if (stat(launcher.c_str(), &st) != 0)
        return std::nullopt;
    Pipe pipe;
    if (pipe2(pipe.fds, O_CLOEXEC) != 0)
        return std::nullopt;

    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return std::nullopt;
    std::unique_ptr<posix_spawn_file_actions_t, int (*)(posix_spawn_file_actions_t*)> actionsOwner(
        &actions, posix_spawn_file_actions_destroy);
    if (posix_spawn_file_actions_adddup2(&actions, pipe.fds[1], STDOUT_FILENO) != 0)
        return std::nullopt;

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(launcher.c_str()));
    for (const std::string& argument : commandAndArguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    pid_t pid = 0;
    if (posix_spawn(&pid, launcher.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        return std::nullopt;
    ++launcherRuns;
    pipe.closeEnd(1);

    std::string output;
    bool readable = true;
    char buffer[4096];
    for (;;) {
        ssize_t n = read(pipe.fds[0], buffer, sizeof buffer);
        if (n > 0) {
            output.append(buffer, static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            readable = n == 0;
            break;
        }
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!readable)
        return std::nullopt;
    return output;
}

bool QVPListOutputHolds(const std::optional<std::string>& output, std::string_view expected)
{
    return output && output->find(expected) != std::string::npos;
}

