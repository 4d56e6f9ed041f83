// The walks' share of the service: which walk may start an exchange with a
// device, and which walks share the outcome of an exchange already running.
//
// A walk is an exchange with the device (the GETNEXT loop into the walk's
// spool list) followed by the merge of what it found into the caller's list.
// Simultaneous walks with the same argument vector would send the same
// requests to the same agent and get the same answers, so they share one
// exchange: the first starts it, the others join it, and each merges a copy
// of its outcome into its own caller's list.
//
// Starting an exchange takes a turn: each user starts one exchange at a time,
// and at most the pool size run at once over all users, so a user's slow or
// hostile agent holds one slot and delays only that user. A walk that joins
// needs no turn of its own and runs beside its user's other walks.
#pragma once

#include "profilelist/ProfileList.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <sys/types.h>
#include <vector>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

// What one exchange with a device gave: its result (0, 1, 2, -1, -2 as the
// walk's), the number of variables found and the spool list. Copied whole to
// every walk that shared the exchange.
struct ExchangeOutcome {
    int result = 1;
    int found = 0;
    ProfileList spool{};
};

// An exchange is known by its whole argument vector, every element as sent:
// only a walk that would have sent exactly the same requests gets its
// outcome.
using ExchangeKey = std::vector<std::string>;

class SharedExchanges {
public:
    using Clock = std::chrono::steady_clock;
    using Exchange = std::function<void(ExchangeOutcome*)>;

    // With `share` false every walk runs its own exchange (the one walk at
    // a time baseline of the benchmarks).
    explicit SharedExchanges(std::size_t poolSize, bool share = true) : poolSize_(poolSize), share_(share) {}

    // The outcome of an exchange of `key` for a walk of `uid`: joins the
    // exchange of `key` that is running, or else waits for the user's turn
    // and a slot of the pool and runs `exchange` on this thread (unless one
    // of `key` starts meanwhile: then it joins that one). Later walks of
    // `key` start a new exchange once this one has given its outcome. A
    // joined exchange that failed at its owner's deadline was cut short by
    // a bound earlier than this walk's: this walk tries again rather than
    // share that failure. Null when `deadline` came first, waiting for the
    // turn or for an outcome. The outcome is the caller's own copy.
    std::unique_ptr<ExchangeOutcome> run(uid_t uid, const ExchangeKey& key, Clock::time_point deadline,
                                         const Exchange& exchange);

private:
    struct Running {
        bool done = false;
        bool cutShort = false;    // failed once its owner's deadline had come
        ExchangeOutcome outcome;  // once done
    };
    using Runs = std::map<ExchangeKey, std::shared_ptr<Running>>;

    bool mayStart(uid_t uid) const { return starting_.size() < poolSize_ && starting_.count(uid) == 0; }
    std::unique_ptr<ExchangeOutcome> start(std::unique_lock<std::mutex>& lock, uid_t uid, const ExchangeKey& key,
                                           Clock::time_point deadline, const Exchange& exchange);

    std::mutex mutex_;
    std::condition_variable changed_;  // a turn was given back or an exchange started or ended
    std::set<uid_t> starting_;         // users with an exchange of their own running
    Runs running_;
    std::size_t poolSize_;
    bool share_;
};

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
