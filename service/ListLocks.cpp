#include "service/ListLocks.h"

#include <algorithm>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

struct ListLocks::Held::State {
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<Writer> holder;
    Clock::time_point lastUse;
    std::deque<uint64_t> waiting;  // tickets of sequences waiting to begin
};

ListLocks::ListLocks(Clock::duration leaseTime, Clock::duration maxWait)
    : leaseTime_(leaseTime), maxWait_(maxWait)
{
}

ListLocks::Held ListLocks::lock(const std::string& stem)
{
    std::shared_ptr<Held::State> state;
    {
        std::lock_guard guard(mapMutex_);
        // Forget idle lists now and then so that the map stays small.
        if (states_.size() > 1024) {
            for (auto it = states_.begin(); it != states_.end();) {
                if (it->second.use_count() == 1 && !it->second->holder)
                    it = states_.erase(it);
                else
                    ++it;
            }
        }
        auto& slot = states_[stem];
        if (!slot)
            slot = std::make_shared<Held::State>();
        state = slot;
    }
    return Held(this, std::move(state));
}

ListLocks::Held::Held(ListLocks* owner, std::shared_ptr<State> state)
    : owner_(owner), state_(std::move(state)), lock_(state_->mutex)
{
}

ListLocks::Held::~Held() = default;

bool ListLocks::Held::leaseLive(Clock::time_point now) const
{
    return state_->holder && now - state_->lastUse < owner_->leaseTime_;
}

bool ListLocks::Held::beginSequence(const Writer& writer)
{
    State& s = *state_;
    uint64_t ticket;
    {
        std::lock_guard guard(owner_->mapMutex_);
        ticket = owner_->nextTicket_++;
    }
    s.waiting.push_back(ticket);
    Clock::time_point giveUp = Clock::now() + owner_->maxWait_;
    for (;;) {
        Clock::time_point now = Clock::now();
        bool free = !leaseLive(now) || *s.holder == writer;
        if (free && s.waiting.front() == ticket)
            break;
        if (now >= giveUp) {
            s.waiting.erase(std::find(s.waiting.begin(), s.waiting.end(), ticket));
            s.changed.notify_all();
            return false;
        }
        Clock::time_point wake = giveUp;
        if (s.holder && !free)
            wake = std::min(wake, s.lastUse + owner_->leaseTime_);
        s.changed.wait_until(lock_, wake);
    }
    s.waiting.pop_front();
    s.holder = writer;
    s.lastUse = Clock::now();
    s.changed.notify_all();
    return true;
}

bool ListLocks::Held::continueSequence(const Writer& writer)
{
    State& s = *state_;
    Clock::time_point now = Clock::now();
    if (leaseLive(now) && !(*s.holder == writer))
        return false;
    s.holder = writer;
    s.lastUse = now;
    return true;
}

void ListLocks::Held::endSequence(const Writer& writer)
{
    State& s = *state_;
    if (s.holder && *s.holder == writer) {
        s.holder.reset();
        s.changed.notify_all();
    }
}

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
