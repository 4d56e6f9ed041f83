#include "protocol/Framing.h"

#include "platform/FileDescriptor.h"
#include "platform/FixedPaths.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

namespace {

// Waits until the descriptor is ready for `events` or the deadline passes.
bool waitReady(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        int timeout = -1;
        if (deadline != Clock::time_point::max()) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                return false;
            timeout = left > 60000 ? 60000 : static_cast<int>(left);
        }
        pollfd p{fd, events, 0};
        int n = poll(&p, 1, timeout);
        if (n > 0)
            return true;
        if (n < 0 && errno != EINTR)
            return true;  // let the following read or write report the error
    }
}

// Reads exactly `size` bytes. `started` tells whether a frame is under way, so
// an end of stream before any byte is a clean close.
FrameStatus readExact(int fd, char* buffer, std::size_t size, Clock::time_point deadline, bool started)
{
    std::size_t done = 0;
    while (done < size) {
        if (!waitReady(fd, POLLIN, deadline))
            return FrameStatus::TimedOut;
        ssize_t n = recv(fd, buffer + done, size - done, MSG_DONTWAIT);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n == 0)
            return (done == 0 && !started) ? FrameStatus::Closed : FrameStatus::Broken;
        if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
            continue;
        return FrameStatus::Broken;
    }
    return FrameStatus::Ok;
}

}  // namespace

FrameStatus readFrame(int fd, std::string* out, std::size_t limit, Clock::time_point deadline)
{
    unsigned char header[4];
    FrameStatus status = readExact(fd, reinterpret_cast<char*>(header), sizeof header, deadline, false);
    if (status != FrameStatus::Ok)
        return status;
    uint32_t size = (uint32_t(header[0]) << 24) | (uint32_t(header[1]) << 16) | (uint32_t(header[2]) << 8) | header[3];
    if (size > limit)
        return FrameStatus::TooLarge;
    out->assign(size, '\0');
    return readExact(fd, out->data(), size, deadline, true);
}

bool writeFrame(int fd, std::string_view payload, Clock::time_point deadline)
{
    if (payload.size() > kMaxFrameSize)
        return false;
    uint32_t size = static_cast<uint32_t>(payload.size());
    std::string frame;
    frame.reserve(4 + payload.size());
    frame.push_back(static_cast<char>(size >> 24));
    frame.push_back(static_cast<char>(size >> 16));
    frame.push_back(static_cast<char>(size >> 8));
    frame.push_back(static_cast<char>(size));
    frame.append(payload);
    std::size_t done = 0;
    while (done < frame.size()) {
        if (!waitReady(fd, POLLOUT, deadline))
            return false;
        ssize_t n = send(fd, frame.data() + done, frame.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        return false;
    }
    return true;
}

std::string serviceSocketPath()
{
    const char* path = std::getenv("RX8240_SERVICE_SOCKET");
    if (path && *path)
        return path;
    return rx::fixedPath(rx::kServiceSocketPath);
}

CallStatus callService(const std::string& socketPath, std::string_view operation, std::string_view argument,
                       std::string* reply)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof address.sun_path)
        return CallStatus::Unreachable;
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return CallStatus::Unreachable;
    const rx::UniqueFd owned(fd);
    int rc;
    do {
        rc = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (rc < 0 && errno == EINTR);
    if (rc < 0)
        return CallStatus::Unreachable;
    // The walk of a slow device may take long, but never longer than the
    // service's bound: past it and the margin the launcher gives up.
    const auto deadline = Clock::now() + kRequestBound + kLauncherMargin;
    if (!writeFrame(fd, operation, deadline) || !writeFrame(fd, argument, deadline))
        return CallStatus::Failed;
    return readFrame(fd, reply, kMaxFrameSize, deadline) == FrameStatus::Ok ? CallStatus::Ok : CallStatus::Failed;
}

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
