// Coordination of requests on the files of one list (one USER-MODEL stem).
//
// Every operation on a list's files holds the list, so a probe, a swap, a
// piece or a commit never sees another one half done.
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
//
// The table holds an entry per list while a request holds it or waits for
// it, and while a lease lives; an entry goes with its last request once no
// live lease is left in it. A caller holds at most a bounded number of
// leases: expired ones are dropped before the bound is checked. No request
// scans the whole table.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <set>
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

enum class BeginStatus {
    Begun,
    TimedOut,       // another writer's lease did not end within the wait bound
    TooManyLeases,  // the caller holds its bound of live leases on other lists
};

class ListLocks {
public:
    using Clock = std::chrono::steady_clock;

    ListLocks(Clock::duration leaseTime, Clock::duration maxWait, std::size_t leasesPerCaller);
    ListLocks(const ListLocks&) = delete;
    ListLocks& operator=(const ListLocks&) = delete;

private:
    struct Entry;
    using Entries = std::map<std::string, Entry>;

public:
    // One list, held for one operation.
    class Held {
    public:
        Held(Held&& other) noexcept;
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;
        Held& operator=(Held&&) = delete;
        ~Held();
        // Starts a sequence for the caller `writer` names: waits in arrival
        // order until no other writer's live lease is held, then gives the
        // list a new lease and puts its token into *token. The list is
        // still held whatever the answer.
        BeginStatus beginSequence(const Writer& writer, LeaseToken* token);
        // For a piece or a commit: true when `writer` (with its token) holds
        // the list's live lease, which it then keeps for the lease time.
        bool continueSequence(const Writer& writer);
        // Ends `writer`'s lease, if it holds it.
        void endSequence(const Writer& writer);

    private:
        friend class ListLocks;
        Held(ListLocks* owner, Entries::iterator entry) : owner_(owner), entry_(entry) {}
        ListLocks* owner_;
        Entries::iterator entry_;
    };

    Held lock(const std::string& stem);

private:
    bool leaseLive(const Entry& entry, Clock::time_point now) const;
    // Drops `entry`'s lease (whether it lives or not) from the caller's count.
    void dropLease(Entries::iterator entry);
    // Drops the caller's expired leases; erases the entries that nothing
    // else keeps.
    void dropExpiredLeases(uid_t uid, Clock::time_point now);
    // Erases the entry when no request holds or awaits it and no live lease
    // is left in it.
    void eraseIfIdle(Entries::iterator entry, Clock::time_point now);
    void release(Entries::iterator entry);

    std::mutex mutex_;  // guards everything below and every entry
    Entries entries_;
    std::map<uid_t, std::set<std::string>> leasesOf_;  // stems whose lease each caller holds
    Clock::duration leaseTime_;
    Clock::duration maxWait_;
    std::size_t leasesPerCaller_;
};

struct ListLocks::Entry {
    std::size_t users = 0;  // requests holding or awaiting the list
    bool busy = false;      // a request holds the list
    std::condition_variable changed;
    std::optional<Writer> holder;
    Clock::time_point lastUse;
    std::deque<std::uint64_t> waiting;  // tickets of sequences waiting to begin
    std::uint64_t nextTicket = 0;
};

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
