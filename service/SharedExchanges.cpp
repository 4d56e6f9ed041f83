#include "service/SharedExchanges.h"

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

std::unique_ptr<ExchangeOutcome> SharedExchanges::run(uid_t uid, const ExchangeKey& key, Clock::time_point deadline,
                                                      const Exchange& exchange)
{
    std::unique_lock lock(mutex_);
    for (;;) {
        std::shared_ptr<Running> joined;
        const bool ready = changed_.wait_until(lock, deadline, [&] {
            if (auto it = running_.find(key); share_ && it != running_.end())
                joined = it->second;
            return joined || mayStart(uid);
        });
        if (!ready)
            return nullptr;
        if (!joined)
            return start(lock, uid, key, deadline, exchange);
        if (!changed_.wait_until(lock, deadline, [&] { return joined->done; }))
            return nullptr;
        if (!joined->cutShort)
            return std::make_unique<ExchangeOutcome>(joined->outcome);
    }
}

std::unique_ptr<ExchangeOutcome> SharedExchanges::start(std::unique_lock<std::mutex>& lock, uid_t uid,
                                                        const ExchangeKey& key, Clock::time_point deadline,
                                                        const Exchange& exchange)
{
    auto outcome = std::make_unique<ExchangeOutcome>();
    // Only a shared exchange is registered for others to join; its outcome
    // is copied there for them.
    const Runs::iterator registered =
        share_ ? running_.emplace(key, std::make_shared<Running>()).first : running_.end();
    starting_.insert(uid);
    lock.unlock();
    changed_.notify_all();  // waiting walks of the same key join it

    exchange(outcome.get());

    lock.lock();
    if (registered != running_.end()) {
        registered->second->outcome = *outcome;
        registered->second->cutShort = outcome->result != 0 && Clock::now() >= deadline;
        registered->second->done = true;
        running_.erase(registered);
    }
    starting_.erase(uid);
    lock.unlock();
    changed_.notify_all();
    return outcome;
}

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
