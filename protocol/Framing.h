// The wire format between the launcher and the service on the Unix-domain
// stream socket (Wire.h): every frame is a 4-byte big-endian length followed
// by that many bytes. A request is two frames, the operation name and the
// argument text; a response is one frame, the reply text.
#pragma once

#include "protocol/Wire.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

inline constexpr std::size_t kMaxFrameSize = RX_MAX_FRAME_SIZE;
// Operation names are short; a longer first frame is malformed.
inline constexpr std::size_t kMaxOperationSize = 64;

using Clock = std::chrono::steady_clock;

// The longest the service takes over a request: a walk's wait for its turn
// and the walk itself end within it, and so does any wait for a list that a
// walk holds. The launcher gives up the margin after it.
inline constexpr std::chrono::seconds kRequestBound{RX_REQUEST_BOUND_SECONDS};
inline constexpr std::chrono::seconds kLauncherMargin{RX_LAUNCHER_MARGIN_SECONDS};

enum class FrameStatus {
    Ok,
    Closed,     // the peer closed the connection before the first byte
    TimedOut,   // the deadline passed
    TooLarge,   // the length exceeds the limit
    Broken,     // I/O error or the peer closed in the middle of a frame
};

// Reads one frame of at most `limit` bytes, waiting until `deadline` at the
// latest (Clock::time_point::max() waits without bound).
FrameStatus readFrame(int fd, std::string* out, std::size_t limit, Clock::time_point deadline);
// Writes one frame; false on error or when the deadline passes first.
bool writeFrame(int fd, std::string_view payload, Clock::time_point deadline);

// The service's socket path: RX8240_SERVICE_SOCKET, else the fixed socket
// path below TARNVALE_ROOT.
std::string serviceSocketPath();

enum class CallStatus { Ok, Unreachable, Failed };
// Connects to the service at `socketPath`, sends one request and reads the
// reply. Unreachable: no service listens there; Failed: the connection broke
// or the service ended it without a reply.
CallStatus callService(const std::string& socketPath, std::string_view operation, std::string_view argument,
                       std::string* reply);

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
