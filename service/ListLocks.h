// Coordination of requests on the files of one list (one USER-MODEL stem).
//
// Every operation on a list's files holds the list's lock, so a probe, a
// swap, a piece or a commit never sees another one half done.
//
// A staged write is a sequence: the plug-in removes the staging file, sends
// the pieces, then commits. Two writers of one list would otherwise mix
// their pieces in the one staging file, so a sequence holds a lease on the
// list: it starts with the removal of the staging file, which waits (in
// arrival order, bounded) until no other writer holds the lease, and then
// hands out a new lease token; a piece or a commit is accepted only from the
// writer that holds the live lease; the commit ends it; a lease unused for
// the lease time expires. A writer is the caller's uid and the token the
// service handed out: nothing the caller's processes show (their parents,
// which the sandbox may hide) is needed to tell two writers apart, and a
// piece that carries no live token is refused, never merged.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

// A lease token: kLeaseTokenSize lower-case hexadecimal digits of random bits.
using LeaseToken = std::string;
LeaseToken newLeaseToken();

struct Writer {
    uid_t uid = 0;
    LeaseToken token;  // empty: the caller holds no lease
    bool operator==(const Writer&) const = default;
};

class ListLocks {
public:
    using Clock = std::chrono::steady_clock;

    explicit ListLocks(Clock::duration leaseTime, Clock::duration maxWait);

    // The lock of one list, held for one operation.
    class Held {
    public:
        Held(Held&&) = default;
        ~Held();
        // Starts a sequence for the caller `writer` names: waits in arrival
        // order until no other writer's live lease is held, then gives the
        // list a new lease and answers its token. Empty when the wait would
        // exceed the bound; the lock is still held either way.
        std::optional<LeaseToken> beginSequence(const Writer& writer);
        // For a piece or a commit: true when `writer` (with its token) holds
        // the list's live lease, which it then keeps for the lease time.
        bool continueSequence(const Writer& writer);
        // Ends `writer`'s lease, if it holds it.
        void endSequence(const Writer& writer);

    private:
        friend class ListLocks;
        struct State;
        Held(ListLocks* owner, std::shared_ptr<State> state);
        bool leaseLive(Clock::time_point now) const;
        ListLocks* owner_;
        std::shared_ptr<State> state_;
        std::unique_lock<std::mutex> lock_;
    };

    Held lock(const std::string& stem);

private:
    std::mutex mapMutex_;
    std::map<std::string, std::shared_ptr<Held::State>> states_;
    Clock::duration leaseTime_;
    Clock::duration maxWait_;
};

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
