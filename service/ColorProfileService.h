// ColorProfileService: performs the list file changes and the device walk
// for the plug-in, on requests that the launcher relays over a Unix-domain
// stream socket (Framing.h).
//
// QVmacXPCServiceDelegate accepts each connection, identifies the caller by
// the socket's peer credentials and gives the connection its own
// QVmacServiceXPC on its own thread. The requests of one connection run one
// after another; connections run at the same time, at most a few per user
// and a bounded number in all (UserShares.h). Each user starts one exchange
// with a device at a time, users side by side in a bounded pool, and
// simultaneous walks of one argument vector share one exchange, each merging
// into its own caller's list (SharedExchanges.h). A connection that sends
// nothing for the idle time is closed.
#pragma once

#include "profilelist/ProfileList.h"
#include "protocol/Framing.h"
#include "service/ListFileNames.h"
#include "service/ListLocks.h"
#include "service/MergeWorkers.h"
#include "service/SharedExchanges.h"
#include "service/UserShares.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

// The walk in its two steps, each run on a request's thread; exchanges and
// merges of different requests run at the same time.
struct WalkSteps {
    // The exchange with the device: argument count, a writable,
    // null-terminated vector (the parser reorders it and blanks the
    // community in place) and the time by which the exchange must have
    // ended. Fills *outcome; writes no file.
    void (*exchange)(int argc, char* argv[], Clock::time_point deadline, ExchangeOutcome* outcome);
    // Merges an outcome into the current list of this thread's list paths
    // (ServicePaths.h); returns the walk's result: the outcome's, or 1 when
    // a normal end could not be written.
    int (*merge)(const ExchangeOutcome& outcome);
};

// Connections one user may hold open, and all users together: a user at the
// cap is refused while the others are served.
inline constexpr std::size_t kConnectionsPerUser = 32;
inline constexpr std::size_t kConnectionsInAll = 128;
// How long a staged write keeps its lease without a request, and how long a
// new one waits for another one of its list to end.
inline constexpr std::chrono::seconds kLeaseTime{10};
inline constexpr std::chrono::seconds kMaxSequenceWait{30};
// Model names, and so lists, one user may have files of; and staged writes
// (each holding a lease, ListLocks.h) one caller may have under way.
inline constexpr std::size_t kMaxModelsPerUser = 32;
// Exchanges with devices running at once (each of a different user).
inline constexpr std::size_t kWalkPoolSize = 8;
// Threads that merge walks' outcomes into lists: more than the cores, as a
// merge also waits for its list's lock and for the disk.
inline constexpr std::size_t kMergeWorkers = 4;

// The bytes one user's files may take in the profile directory in all: its
// list files and the temporary files beside them. Room for one list at the
// size cap as current, previous and staging file and a temporary copy.
inline constexpr std::uint64_t kMaxBytesPerUser = 4 * std::uint64_t{kMaxListFileSize};

// A request that may create or grow a user's files checks the user's model
// names and bytes and creates in one step: it holds the user's stripe of
// these locks throughout (users that share a stripe wait for each other's
// short file operations only).
class UserFileLocks {
public:
    std::unique_lock<std::mutex> lock(std::string_view user);

private:
    std::array<std::mutex, 64> stripes_;
};

struct ServiceSettings {
    std::size_t walkPoolSize = kWalkPoolSize;
    // Whether simultaneous walks of one vector share one exchange.
    bool shareExchanges = true;
    // A walk request, its wait for a turn or a shared exchange included,
    // ends its exchange within this; the merge follows.
    Clock::duration walkBound = kRequestBound;
    // How long a staged write keeps its lease without a request.
    Clock::duration leaseTime = kLeaseTime;
};

// What the whole process shares.
struct ServiceContext {
    ServiceContext(std::string directory, WalkSteps walkSteps, const ServiceSettings& settings = {});

    std::string profileDirectory;  // below TARNVALE_ROOT
    WalkSteps walk;
    std::chrono::milliseconds idleTimeout{10000};
    Clock::duration walkBound;
    ListLocks locks;
    UserFileLocks userFiles;
    ConnectionSlots connections{kConnectionsPerUser, kConnectionsInAll};
    SharedExchanges exchanges;
    MergeWorkers merges;
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
    // Carries the lease token of a staged write that an earlier connection
    // of the same user began into this one (ListLocks.h): "TRUE" when the
    // argument has a token's form; the token is checked by each piece and
    // the commit.
    void stagedWriteLease(const std::string& argument, const Reply& reply);

private:
    // A list file the caller may act on, or empty (the refusal is logged).
    std::optional<ListFile> allowedFile(std::string_view operation, std::string_view path);
    // The same for a file URL.
    std::optional<ListFile> allowedFileOfUrl(std::string_view operation, std::string_view url);
    // For a piece or a commit: the current list the URL names, with its lock
    // held and the caller's staged write continued; empty when refused.
    // `incoming` bytes are what the request adds to the user's files.
    struct StagedWrite {
        ListFile file;
        std::unique_lock<std::mutex> reserved;
        ListLocks::Held held;
    };
    std::optional<StagedWrite> continueStagedWrite(std::string_view operation, std::string_view url,
                                                   std::uint64_t incoming);
    // False (refused and logged) when the file would be of a new model name
    // and the user already has files of kMaxModelsPerUser models, or when
    // `incoming` more bytes would take the user's files past
    // kMaxBytesPerUser.
    bool mayCreate(std::string_view operation, const ListFile& file, std::uint64_t incoming = 0);
    // mayCreate with the user's files held: the check and the creation it
    // allows are one step while the answer lives. Empty when refused.
    std::optional<std::unique_lock<std::mutex>> reserve(std::string_view operation, const ListFile& file,
                                                        std::uint64_t incoming);
    void refuse(std::string_view operation, std::string_view reason) const;
    Writer writer() const { return Writer{caller_.uid, lease_}; }

    ServiceContext& context_;
    Caller caller_;
    // The lease token of the staged write this connection carries; empty
    // when none.
    LeaseToken lease_;
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
