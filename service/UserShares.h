// Each user's share of the service, so that no user can deny, delay or
// exhaust it for another: connection slots, capped per user and in all, and
// walk turns, one walk at a time per user in a pool of bounded size shared
// by all users.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <sys/types.h>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

class ConnectionSlots {
public:
    ConnectionSlots(std::size_t perUser, std::size_t total) : perUser_(perUser), total_(total) {}

    // Takes a slot for a connection of `uid`; false when the user or the
    // whole service is at its cap.
    bool take(uid_t uid);
    // Gives back a slot that take() gave.
    void give(uid_t uid);

private:
    std::mutex mutex_;
    std::map<uid_t, std::size_t> open_;
    std::size_t all_ = 0;
    std::size_t perUser_;
    std::size_t total_;
};

class WalkTurns {
public:
    using Clock = std::chrono::steady_clock;

    explicit WalkTurns(std::size_t poolSize) : poolSize_(poolSize) {}

    // A walk's turn; the next walk of the user may start once it goes.
    class Turn {
    public:
        Turn(Turn&& other) noexcept;
        ~Turn();
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;
        Turn& operator=(Turn&&) = delete;

    private:
        friend class WalkTurns;
        Turn(WalkTurns* owner, uid_t uid) : owner_(owner), uid_(uid) {}
        WalkTurns* owner_;
        uid_t uid_;
    };

    // Waits until `uid` has no walk running and the pool has room, until
    // `deadline` at the latest; empty when the deadline came first.
    std::optional<Turn> wait(uid_t uid, Clock::time_point deadline);

    std::size_t poolSize() const { return poolSize_; }

private:
    void end(uid_t uid);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::set<uid_t> walking_;
    std::size_t poolSize_;
};

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
