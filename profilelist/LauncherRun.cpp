// Running the launcher: a request to the service, or a sequence of them, per
// process, its standard output read through a pipe while the installed
// waiter waits.
#include "profilelist/LauncherCalls.h"
#include "profilelist/LauncherWait.h"

#include "platform/FileDescriptor.h"
#include "platform/FixedPaths.h"
#include "protocol/ArgumentStrings.h"
#include "protocol/Wire.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace svc = svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;

std::atomic<std::size_t> launcherRuns{0};
std::atomic<rx::LauncherWaiter*> installedWaiter{nullptr};

// A started launcher: the commands it carries, its process, the read end of
// its output and what it has printed so far.
class Run final : public rx::LauncherProcess {
public:
    Run(std::vector<std::string> commands, pid_t pid, rx::UniqueFd output)
        : commands_(std::move(commands)), pid_(pid), output_(std::move(output))
    {
    }
    int outputFd() const override { return output_.get(); }
    bool readAvailable() override;
    // Waits for the process to end (blocking or not); true once it has
    // been reaped.
    bool reap(bool block);
    // Ends a run that carries a sequence, so that no request after the one
    // under way is sent; a run of one request is left to end on its own.
    void stopSequence() const
    {
        if (commands_.size() > 1)
            kill(pid_, SIGTERM);
    }
    // The request the run leads up to: its last.
    const std::string& command() const { return commands_.back(); }
    bool carriesAnyOf(std::initializer_list<std::string_view> commands) const
    {
        return std::find_first_of(commands_.begin(), commands_.end(), commands.begin(), commands.end()) !=
               commands_.end();
    }
    // The output once it has ended; empty when it could not be read.
    std::optional<std::string> result() const { return readable_ ? std::optional(text_) : std::nullopt; }
    const std::string& printedSoFar() const { return text_; }

private:
    std::vector<std::string> commands_;
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
    auto found = std::find_if(leftovers.begin(), leftovers.end(),
                              [&](const std::unique_ptr<Run>& run) { return run->carriesAnyOf(commands); });
    if (found == leftovers.end())
        return nullptr;
    std::unique_ptr<Run> run = std::move(*found);
    leftovers.erase(found);
    return run;
}

// Starts the launcher at `launcher` with the arguments (the command of each
// request listed in `commands`) and its standard output on a pipe; null when
// no file is at the launcher path or the process or pipe could not be made.
// The arguments are the caller's, not copied.
std::unique_ptr<Run> startLauncher(const std::string& launcher, const std::vector<const char*>& arguments,
                                   std::vector<std::string> commands)
{
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
    for (const char* argument : arguments)
        argv.push_back(const_cast<char*>(argument));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, launcher.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        return nullptr;
    ++launcherRuns;
    if (commands.empty())
        commands.emplace_back();
    return std::make_unique<Run>(std::move(commands), pid, std::move(readEnd));
}

// Runs the started launcher to its end through the waiter; its output, or
// empty when it could not be started or read or the wait was given up (a
// sequence then stops after the request under way). What it printed until
// then goes into *seen either way.
std::optional<std::string> finish(std::unique_ptr<Run> run, std::string* seen)
{
    if (!run)
        return std::nullopt;
    if (!waitFor(run->command(), *run)) {
        *seen = run->printedSoFar();
        run->stopSequence();
        keepAsLeftover(std::move(run));
        return std::nullopt;
    }
    run->reap(true);
    *seen = run->printedSoFar();
    return run->result();
}

// What one string of `length` bytes takes of execve's argument space: its
// bytes, its NUL and its pointer.
std::size_t execveCost(std::size_t length)
{
    return length + 1 + sizeof(char*);
}

// What the arguments of one launcher run may take: the system's limit less
// the environment, the launcher's path and a margin.
std::size_t argumentBudget(std::size_t launcherPathSize)
{
    const long limit = sysconf(_SC_ARG_MAX);
    std::size_t used = execveCost(launcherPathSize) + 4096;
    for (char** variable = environ; *variable; ++variable)
        used += execveCost(std::strlen(*variable));
    return limit > 0 && static_cast<std::size_t>(limit) > used ? static_cast<std::size_t>(limit) - used : 0;
}

std::size_t argumentCost(const std::vector<std::string>& arguments)
{
    std::size_t cost = 0;
    for (const std::string& argument : arguments)
        cost += execveCost(argument.size());
    return cost;
}

// The requests of one launcher run, from `first` on: as many as the budget
// holds, at least one, after `lead` when there is one (then the first runs
// only when `lead` answered "TRUE"). Returns the end of the run.
std::size_t oneRun(const std::vector<LauncherRequest>& requests, std::size_t first, const LauncherRequest* lead,
                   std::size_t budget, std::vector<const char*>* arguments, std::vector<std::string>* commands)
{
    constexpr std::string_view kStepIfTrue = RX_STEP_IF_TRUE, kStepAlways = RX_STEP_ALWAYS;
    auto add = [&](const LauncherRequest& request, bool joined, bool onlyAfterTrue) {
        if (joined)
            arguments->push_back(onlyAfterTrue ? kStepIfTrue.data() : kStepAlways.data());
        for (const std::string& argument : request.commandAndArguments)
            arguments->push_back(argument.c_str());
        commands->push_back(request.commandAndArguments.empty() ? std::string() : request.commandAndArguments.front());
    };
    std::size_t cost = 0;
    if (lead) {
        cost += argumentCost(lead->commandAndArguments);
        add(*lead, false, false);
    }
    std::size_t end = first;
    for (; end < requests.size(); ++end) {
        const bool joined = lead || end > first;
        cost += argumentCost(requests[end].commandAndArguments) + (joined ? execveCost(kStepIfTrue.size()) : 0);
        if (end > first && cost > budget)
            break;
        add(requests[end], joined, requests[end].onlyAfterTrue || (lead && end == first));
    }
    return end;
}

// Whether the run's last request ran and answered "TRUE": its line ends the
// output.
bool endsWithTrue(const std::string& output, const std::string& command)
{
    if (output.empty() || output.back() != '\n')
        return false;
    const std::size_t start = output.rfind('\n', output.size() - 2);
    const std::string_view line =
        std::string_view(output).substr(start == std::string::npos ? 0 : start + 1);
    const std::string head = command + "=";
    return line.starts_with(head) &&
           svc::isTrueReply(line.substr(head.size(), line.size() - head.size() - 1));
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
    return QVPListRunLauncherSequence({{commandAndArguments}});
}

std::optional<std::string> QVPListRunLauncherSequence(const std::vector<LauncherRequest>& requests,
                                                      std::string* leaseOut)
{
    reapEndedLeftovers();
    const std::string launcher = QVPListLauncherPath();
    const std::size_t budget = argumentBudget(launcher.size());
    std::string printed;
    // A staged write's lease, once an earlier run got it, goes in front of
    // each later run, whose connection is another one.
    std::optional<LauncherRequest> lease;
    for (std::size_t first = 0; first < requests.size();) {
        std::vector<const char*> arguments;
        std::vector<std::string> commands;
        const std::size_t end = oneRun(requests, first, lease ? &*lease : nullptr, budget, &arguments, &commands);
        std::string seen;
        auto output = finish(startLauncher(launcher, arguments, commands), &seen);
        if (std::string token = svc::leaseOfOutput(seen); !token.empty()) {
            lease = LauncherRequest{{std::string(svc::kOpLease), token}};
            if (leaseOut)
                *leaseOut = token;
        }
        if (!output)
            return std::nullopt;
        printed += *output;
        if (end < requests.size() && requests[end].onlyAfterTrue && !endsWithTrue(*output, commands.back()))
            break;
        first = end;
    }
    return printed;
}

bool QVPListOutputHolds(const std::optional<std::string>& output, std::string_view expected)
{
    return output && output->find(expected) != std::string::npos;
}
