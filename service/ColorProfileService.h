// ColorProfileService: performs the list file changes and the device walk
// for the plug-in, on requests that the launcher relays over a Unix-domain
// stream socket (Framing.h).
//
// QVmacXPCServiceDelegate accepts each connection, identifies the caller by
// the socket's peer credentials and gives the connection its own
// QVmacServiceXPC on its own thread. The requests of one connection run one
// after another; connections run at the same time; walks run one at a time.
// A connection that sends nothing for the idle time is closed.
#pragma once

#include "service/ListFileNames.h"
#include "service/ListLocks.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

// The walk entry: argument count and a writable, null-terminated vector;
// returns the walk's result.
using WalkFunction = int (*)(int argc, char* argv[]);

// What the whole process shares.
struct ServiceContext {
    ServiceContext(std::string directory, WalkFunction walkFunction);

    std::string profileDirectory;  // below TARNVALE_ROOT
    WalkFunction walk;
    std::chrono::milliseconds idleTimeout{10000};
    std::size_t maxConnections = 128;
    ListLocks locks;
    std::mutex discovery;  // one walk at a time: the walk uses process-wide state
    std::atomic<std::size_t> connections{0};
};

// The reply block of an operation: called exactly once before it returns.
using Reply = std::function<void(std::string_view)>;

// The exported object of one connection.
class QVmacServiceXPC {
public:
    QVmacServiceXPC(ServiceContext& context, Caller caller);

    // Serves requests on the connected socket until the peer closes it, it
    // idles past the idle time, or it sends a malformed or unknown request.
    void serve(int fd);

    // QV_XPC_Protocol.
    void qvPListIsAdminProfile_XPC(const std::string& argument, const Reply& reply);
    void qvPListSwapProfile_XPC(const std::string& argument, const Reply& reply);
    void qvPListExistProfile_XPC(const std::string& argument, const Reply& reply);
    void qvPListRemove_XPC(const std::string& argument, const Reply& reply);
    void writeDictionaryToPlistFile_XPC(const std::string& argument, const Reply& reply);
    void writeDataToPlistFile_XPC(const std::string& argument, const Reply& reply);
    void writeDataToPlistFileRename_XPC(const std::string& argument, const Reply& reply);
    void mibwalk_XPC(const std::string& argument, const Reply& reply);

private:
    // A list file the caller may act on, or empty (the refusal is logged).
    std::optional<ListFile> allowedFile(std::string_view operation, std::string_view path);
    // The same for a file URL.
    std::optional<ListFile> allowedFileOfUrl(std::string_view operation, std::string_view url);
    // For a piece or a commit: the current list the URL names, with its lock
    // held and the caller's staged write continued; empty when refused.
    struct StagedWrite {
        ListFile file;
        ListLocks::Held held;
    };
    std::optional<StagedWrite> continueStagedWrite(std::string_view operation, std::string_view url);
    void refuse(std::string_view operation, std::string_view reason) const;
    Writer writer() const { return Writer{caller_.uid, caller_.parent}; }

    ServiceContext& context_;
    Caller caller_;
};

// The listener's delegate: one for the process.
class QVmacXPCServiceDelegate {
public:
    explicit QVmacXPCServiceDelegate(ServiceContext& context) : context_(context) {}

    // Takes ownership of the accepted socket: identifies the caller and
    // serves the connection on a thread of its own. False (socket closed)
    // when the caller cannot be identified or too many connections are open.
    bool shouldAcceptNewConnection(int fd);

    // Accepts connections on a listening socket for the life of the process.
    [[noreturn]] void run(int listenFd);

private:
    ServiceContext& context_;
};

// Identifies the peer of a connected Unix-domain socket.
bool peerCaller(int fd, Caller* caller);

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
