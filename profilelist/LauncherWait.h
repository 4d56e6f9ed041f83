// How a launcher run waits for its process. Without a waiter of its own a
// process blocks its calling thread until the launcher's output has ended;
// a program with an event loop installs a waiter that keeps its windows
// alive meanwhile and may let the user stop waiting.
#pragma once

#include <initializer_list>
#include <string_view>

namespace rx {

// One running launcher, as its waiter sees it.
class LauncherProcess {
public:
    // The read end of the launcher's standard output, non-blocking: readable
    // when the launcher printed something or ended.
    virtual int outputFd() const = 0;
    // Reads what the pipe holds now; true once the output has ended.
    virtual bool readAvailable() = 0;

protected:
    ~LauncherProcess() = default;
};

class LauncherWaiter {
public:
    virtual ~LauncherWaiter() = default;
    // Returns once `process.readAvailable()` has answered true, calling it
    // whenever outputFd() is readable; `command` names the request. False
    // when the wait was given up instead (the user stopped waiting): the run
    // then counts as failed and the launcher is left to end on its own.
    virtual bool waitForLauncher(std::string_view command, LauncherProcess& process) = 0;
};

// Blocks the calling thread until the process's output has ended; true.
// The wait of a process that installed no waiter.
bool blockingLauncherWait(LauncherProcess& process);

}  // namespace rx

// Installs the waiter of this process's launcher runs (null: the blocking
// wait) and answers the one it replaces. The waiter stays the caller's.
rx::LauncherWaiter* QVPListSetLauncherWaiter(rx::LauncherWaiter* waiter);

// Waits, through the installed waiter, until no launcher of these commands
// whose wait was given up is still running. False when this wait was given
// up too (some still run).
bool QVPListAwaitLeftoverRuns(std::initializer_list<std::string_view> commands);
