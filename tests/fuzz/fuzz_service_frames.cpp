// The service's handling of whatever a client sends over its socket: the
// bytes become the client's side of a connection, and one exported object
// serves it as the service does, on a private profile directory, for a
// caller who is not root. Whatever arrives, serving ends, every reply is one
// well-formed frame, and no file appears outside the profile directory.
#include "FuzzInvariant.h"

#include "service/ColorProfileService.h"
#include "protocol/ArgumentStrings.h"
#include "protocol/Framing.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <algorithm>
#include <filesystem>
#include <string>

namespace svc = svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212;
namespace fs = std::filesystem;

namespace {

int walkCalls = 0;
void recordExchange(int, char*[], svc::Clock::time_point, svc::ExchangeOutcome* outcome)
{
    ++walkCalls;
    outcome->result = 0;
}
int mergeNothing(const svc::ExchangeOutcome& outcome)
{
    return outcome.result;
}

struct Sandbox {
    std::string root;
    std::string directory;
    svc::ServiceContext* context = nullptr;
    Sandbox()
    {
        const char* base = std::getenv("RX_TEST_ROOT");
        root = std::string(base ? base : "/tmp") + "/fuzz-frames-" + std::to_string(getpid());
        directory = root + "/profiles";
        fs::remove_all(root);
        fs::create_directories(directory);
        // Leases short enough that an input's write never waits long for one
        // an earlier input left.
        svc::ServiceSettings settings;
        settings.leaseTime = std::chrono::milliseconds(10);
        context = new svc::ServiceContext(directory, {recordExchange, mergeNothing}, settings);
        context->idleTimeout = std::chrono::milliseconds(200);
    }
};

// An input whose first byte is odd is a list of requests, each an operation
// index (one byte), an argument length (two bytes) and the argument, in which
// "@D" stands for the profile directory; they are sent as proper frames.
// Otherwise the bytes go to the socket as they are.
std::string framedRequests(const uint8_t* data, size_t size, const std::string& directory)
{
    static const char* const kOperations[] = {
        "qvPListIsAdminProfile_XPC", "qvPListSwapProfile_XPC",         "qvPListExistProfile_XPC",
        "qvPListRemove_XPC",         "writeDictionaryToPlistFile_XPC", "writeDataToPlistFile_XPC",
        "writeDataToPlistFileRename_XPC", "mibwalk_XPC"};
    auto frame = [](const std::string& payload) {
        const uint32_t n = static_cast<uint32_t>(payload.size());
        std::string out{char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
        return out + payload;
    };
    std::string out;
    size_t at = 0;
    while (at + 3 <= size) {
        const char* operation = kOperations[data[at] % std::size(kOperations)];
        const size_t length = std::min<size_t>((size_t(data[at + 1]) << 8) | data[at + 2], size - at - 3);
        std::string argument(reinterpret_cast<const char*>(data + at + 3), length);
        at += 3 + length;
        for (size_t p = argument.find("@D"); p != std::string::npos; p = argument.find("@D", p + directory.size()))
            argument.replace(p, 2, directory);
        out += frame(operation) + frame(argument);
    }
    return out;
}

Sandbox& sandbox()
{
    static Sandbox box;
    return box;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 60000)
        return 0;  // within one socket buffer: the client writes all before the service reads
    Sandbox& box = sandbox();
    const std::string bytes = size > 0 && (data[0] & 1) ? framedRequests(data + 1, size - 1, box.directory)
                                                         : std::string(reinterpret_cast<const char*>(data), size);
    int fds[2];
    FUZZ_REQUIRE(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) == 0);
    FUZZ_REQUIRE(bytes.empty() || write(fds[0], bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
    shutdown(fds[0], SHUT_WR);

    svc::Caller caller;
    caller.uid = 4242;
    caller.login = "fuzz";
    svc::QVmacServiceXPC exported(*box.context, caller);
    exported.serve(fds[1]);
    close(fds[1]);

    // Every reply is a frame of "TRUE", "FALSE", a staged write's lease or
    // "iRet=N".
    std::string reply;
    for (;;) {
        const svc::FrameStatus status = svc::readFrame(fds[0], &reply, 64, svc::Clock::now() + std::chrono::seconds(2));
        if (status != svc::FrameStatus::Ok) {
            // The end of the replies; a connection that the service ended on
            // a malformed request while bytes were unread is reset.
            FUZZ_REQUIRE(status == svc::FrameStatus::Closed || status == svc::FrameStatus::Broken);
            break;
        }
        FUZZ_REQUIRE(svc::isTrueReply(reply) || reply == "FALSE" || reply.rfind("iRet=", 0) == 0);
    }
    close(fds[0]);

    // Only list files of the caller's own, directly in the directory.
    for (const auto& entry : fs::directory_iterator(box.root)) {
        FUZZ_REQUIRE(entry.path().filename() == "profiles");
        (void)entry;
    }
    for (const auto& entry : fs::directory_iterator(box.directory)) {
        const std::string name = entry.path().filename().string();
        FUZZ_REQUIRE(name.rfind("fuzz-", 0) == 0 || name.rfind(".fuzz-", 0) == 0);
        FUZZ_REQUIRE(entry.is_regular_file() && !entry.is_symlink());
        fs::remove(entry.path());
    }
    return 0;
}
