#include "service/ListLocks.h"

#include "protocol/ArgumentStrings.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <sys/random.h>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

struct ListLocks::Held::State {
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<Writer> holder;
    Clock::time_point lastUse;
    std::deque<uint64_t> waiting;  // tickets of sequences waiting to begin
    uint64_t nextTicket = 0;
};

LeaseToken newLeaseToken()
{
    static_assert(kLeaseTokenSize == 32, "a token is 16 random bytes");
    std::array<unsigned char, kLeaseTokenSize / 2> bytes{};
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = getrandom(bytes.data() + got, bytes.size() - got, 0);
        if (n > 0)
            got += static_cast<std::size_t>(n);
    }
    LeaseToken token(kLeaseTokenSize, '0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        std::snprintf(&token[2 * i], 3, "%02x", bytes[i]);
    return token;
}

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

std::optional<LeaseToken> ListLocks::Held::beginSequence(const Writer& writer)
{
    State& s = *state_;
    const uint64_t ticket = s.nextTicket++;
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
            return std::nullopt;
        }
        Clock::time_point wake = giveUp;
        if (s.holder && !free)
            wake = std::min(wake, s.lastUse + owner_->leaseTime_);
        s.changed.wait_until(lock_, wake);
    }
    s.waiting.pop_front();
    s.holder = Writer{writer.uid, newLeaseToken()};
    s.lastUse = Clock::now();
    s.changed.notify_all();
    return s.holder->token;
}

bool ListLocks::Held::continueSequence(const Writer& writer)
{
    State& s = *state_;
    const Clock::time_point now = Clock::now();
    if (writer.token.empty() || !leaseLive(now) || !(*s.holder == writer))
        return false;
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
