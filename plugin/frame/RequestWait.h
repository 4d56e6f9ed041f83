// The panel's wait for a request to the service. The request still returns
// to its caller only when it has ended, but meanwhile the dialog keeps
// painting in a local event loop, its input is held so that no second
// request or control change starts inside the first, the wait cursor shows,
// and a display says what is awaited and, after kOfferStopAfter, offers to
// stop waiting: the active modal window's own display when it holds one
// (WindowWaitDisplay), else the host's.
#pragma once

#include "platform/HostProtocol.h"
#include "profilelist/LauncherWait.h"

#include <chrono>
#include <functional>
#include <string_view>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

inline constexpr std::chrono::milliseconds kOfferStopAfter{2000};

// The localisation key of the status text while the launcher runs `command`.
const char* waitTextKey(std::string_view command);

class RequestWait final : public rx::LauncherWaiter {
public:
    // Installs itself as the waiter of the process's launcher runs, until it
    // goes. `display` answers the host's display when a wait begins (null:
    // none, then nothing can be stopped).
    explicit RequestWait(std::function<rx::PDEWaitDisplay*()> display);
    ~RequestWait() override;
    RequestWait(const RequestWait&) = delete;
    RequestWait& operator=(const RequestWait&) = delete;

    // Off the application's user-interface thread, the blocking wait.
    bool waitForLauncher(std::string_view command, rx::LauncherProcess& process) override;

private:
    std::function<rx::PDEWaitDisplay*()> display_;
};

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
