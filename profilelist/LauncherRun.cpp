// Running the launcher: one request to the service per process, its
// standard output read through a pipe while the installed waiter waits.
#include "profilelist/LauncherCalls.h"
#include "profilelist/LauncherWait.h"

#include "platform/FileDescriptor.h"
#include "platform/FixedPaths.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::atomic<std::size_t> launcherRuns{0};
std::atomic<rx::LauncherWaiter*> installedWaiter{nullptr};

// A started launcher: its process, the read end of its output and what it
// has printed so far.
class Run final : public rx::LauncherProcess {
public:
    Run(std::string command, pid_t pid, rx::UniqueFd output)
        : command_(std::move(command)), pid_(pid), output_(std::move(output))
    {
    }
    int outputFd() const override { return output_.get(); }
    bool readAvailable() override;
    // Waits for the process to end (blocking or not); true once it has
    // been reaped.
    bool reap(bool block);
    const std::string& command() const { return command_; }
    // The output once it has ended; empty when it could not be read.
    std::optional<std::string> result() const { return readable_ ? std::optional(text_) : std::nullopt; }

private:
    std::string command_;
    pid_t pid_;
    rx::UniqueFd output_;
    std::string text_;
    bool readable_ = true;
};

bool Run::readAvailable()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(output_.get(), buffer, sizeof buffer);
        if (n > 0)
            text_.append(buffer, static_cast<std::size_t>(n));
        else if (n < 0 && errno == EINTR)
            continue;
        else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return false;
        else {
            readable_ = n == 0;
            return true;
        }
    }
}

bool Run::reap(bool block)
{
    int status = 0;
    pid_t done;
    while ((done = waitpid(pid_, &status, block ? 0 : WNOHANG)) < 0 && errno == EINTR) {
    }
    return done != 0;  // reaped, or not ours to reap any more
}

bool waitFor(std::string_view command, rx::LauncherProcess& run)
{
    rx::LauncherWaiter* waiter = installedWaiter.load();
    return waiter ? waiter->waitForLauncher(command, run) : rx::blockingLauncherWait(run);
}

// Runs whose wait was given up, kept until their process has ended so that
// none is left a zombie and a later request can wait for them.
std::mutex leftoverMutex;
std::vector<std::unique_ptr<Run>> leftovers;

void reapEndedLeftovers()
{
    std::lock_guard lock(leftoverMutex);
    std::erase_if(leftovers, [](const std::unique_ptr<Run>& run) {
        run->readAvailable();
        return run->reap(false);
    });
}

void keepAsLeftover(std::unique_ptr<Run> run)
{
    std::lock_guard lock(leftoverMutex);
    leftovers.push_back(std::move(run));
}

std::unique_ptr<Run> takeLeftover(std::initializer_list<std::string_view> commands)
{
    std::lock_guard lock(leftoverMutex);
    auto found = std::find_if(leftovers.begin(), leftovers.end(), [&](const std::unique_ptr<Run>& run) {
        return std::find(commands.begin(), commands.end(), run->command()) != commands.end();
    });
    if (found == leftovers.end())
        return nullptr;
    std::unique_ptr<Run> run = std::move(*found);
    leftovers.erase(found);
    return run;
}

// Starts the launcher with its standard output on a pipe; null when no file
// is at the launcher path or the process or pipe could not be made.
std::unique_ptr<Run> startLauncher(const std::vector<std::string>& commandAndArguments)
{
    const std::string launcher = QVPListLauncherPath();
    struct stat st;
    int fds[2];
    if (stat(launcher.c_str(), &st) != 0 || pipe2(fds, O_CLOEXEC) != 0)
        return nullptr;
    rx::UniqueFd readEnd(fds[0]), writeEnd(fds[1]);
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return nullptr;
    std::unique_ptr<posix_spawn_file_actions_t, int (*)(posix_spawn_file_actions_t*)> actionsOwner(
        &actions, posix_spawn_file_actions_destroy);
    if (posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), STDOUT_FILENO) != 0 ||
        fcntl(readEnd.get(), F_SETFL, O_NONBLOCK) != 0)
        return nullptr;

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(launcher.c_str()));
    for (const std::string& argument : commandAndArguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, launcher.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        return nullptr;
    ++launcherRuns;
    const std::string command = commandAndArguments.empty() ? std::string() : commandAndArguments.front();
    return std::make_unique<Run>(command, pid, std::move(readEnd));
}

}  // namespace

bool rx::blockingLauncherWait(LauncherProcess& process)
{
    while (!process.readAvailable()) {
        pollfd ready{process.outputFd(), POLLIN, 0};
        poll(&ready, 1, -1);
    }
    return true;
}

std::string QVPListLauncherPath()
{
    return rx::fixedPath(rx::kLauncherPath);
}

std::size_t QVPListLauncherRuns()
{
    return launcherRuns.load();
}

rx::LauncherWaiter* QVPListSetLauncherWaiter(rx::LauncherWaiter* waiter)
{
    return installedWaiter.exchange(waiter);
}

bool QVPListAwaitLeftoverRuns(std::initializer_list<std::string_view> commands)
{
    while (std::unique_ptr<Run> run = takeLeftover(commands)) {
        if (!waitFor(run->command(), *run)) {
            keepAsLeftover(std::move(run));
            return false;
        }
        run->reap(true);
    }
    return true;
}

std::optional<std::string> QVPListRunLauncher(const std::vector<std::string>& commandAndArguments)
{
    reapEndedLeftovers();
    std::unique_ptr<Run> run = startLauncher(commandAndArguments);
    if (!run)
        return std::nullopt;
    if (!waitFor(run->command(), *run)) {
        keepAsLeftover(std::move(run));
        return std::nullopt;
    }
    run->reap(true);
    return run->result();
}

bool QVPListOutputHolds(const std::optional<std::string>& output, std::string_view expected)
{
    return output && output->find(expected) != std::string::npos;
}
