#include "service/UserShares.h"

#include <utility>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

bool ConnectionSlots::take(uid_t uid)
{
    std::lock_guard lock(mutex_);
    std::size_t& mine = open_[uid];
    if (mine >= perUser_ || all_ >= total_) {
        if (mine == 0)
            open_.erase(uid);
        return false;
    }
    ++mine;
    ++all_;
    return true;
}

void ConnectionSlots::give(uid_t uid)
{
    std::lock_guard lock(mutex_);
    auto it = open_.find(uid);
    if (it == open_.end())
        return;
    if (--it->second == 0)
        open_.erase(it);
    --all_;
}

WalkTurns::Turn::Turn(Turn&& other) noexcept : owner_(std::exchange(other.owner_, nullptr)), uid_(other.uid_) {}

WalkTurns::Turn::~Turn()
{
    if (owner_)
        owner_->end(uid_);
}

std::optional<WalkTurns::Turn> WalkTurns::wait(uid_t uid, Clock::time_point deadline)
{
    std::unique_lock lock(mutex_);
    const bool free = changed_.wait_until(lock, deadline, [&] {
        return walking_.size() < poolSize_ && walking_.count(uid) == 0;
    });
    if (!free)
        return std::nullopt;
    walking_.insert(uid);
    return Turn(this, uid);
}

void WalkTurns::end(uid_t uid)
{
    {
        std::lock_guard lock(mutex_);
        walking_.erase(uid);
    }
    changed_.notify_all();
}

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
