#include "protocol/Framing.h"

#include "platform/FixedPaths.h"

#include <climits>
#include <cstdlib>
#include <memory>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

static_assert(rx::kServiceSocketPath == RX_SERVICE_SOCKET_PATH, "one socket path for both sides");

namespace {

int64_t wireDeadline(Clock::time_point deadline)
{
    if (deadline == Clock::time_point::max())
        return RX_NO_DEADLINE;
    return std::chrono::duration_cast<std::chrono::milliseconds>(deadline.time_since_epoch()).count();
}

FrameStatus statusOf(rx_frame_status status)
{
    switch (status) {
    case RX_FRAME_OK: return FrameStatus::Ok;
    case RX_FRAME_CLOSED: return FrameStatus::Closed;
    case RX_FRAME_TIMED_OUT: return FrameStatus::TimedOut;
    case RX_FRAME_TOO_LARGE: return FrameStatus::TooLarge;
    case RX_FRAME_BROKEN: break;
    }
    return FrameStatus::Broken;
}

}  // namespace

FrameStatus readFrame(int fd, std::string* out, std::size_t limit, Clock::time_point deadline)
{
    uint32_t size = 0;
    const FrameStatus status = statusOf(rx_read_frame_length(fd, &size, limit, wireDeadline(deadline)));
    if (status != FrameStatus::Ok)
        return status;
    out->assign(size, '\0');
    return statusOf(rx_read_frame_body(fd, out->data(), size, wireDeadline(deadline)));
}

bool writeFrame(int fd, std::string_view payload, Clock::time_point deadline)
{
    return rx_write_frame(fd, payload.data(), payload.size(), wireDeadline(deadline)) != 0;
}

std::string serviceSocketPath()
{
    char path[PATH_MAX];
    return rx_service_socket_path(path, sizeof path) ? std::string(path) : std::string();
}

CallStatus callService(const std::string& socketPath, std::string_view operation, std::string_view argument,
                       std::string* reply)
{
    char* text = nullptr;
    const std::string name(operation);
    switch (rx_call_service(socketPath.c_str(), name.c_str(), argument.data(), argument.size(), &text)) {
    case RX_CALL_OK:
        break;
    case RX_CALL_UNREACHABLE:
        return CallStatus::Unreachable;
    case RX_CALL_FAILED:
        return CallStatus::Failed;
    }
    const std::unique_ptr<char, decltype(&std::free)> owned(text, std::free);
    *reply = text;
    return CallStatus::Ok;
}

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
