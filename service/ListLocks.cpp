#include "service/ListLocks.h"

#include "protocol/ArgumentStrings.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <sys/random.h>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

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

ListLocks::ListLocks(Clock::duration leaseTime, Clock::duration maxWait, std::size_t leasesPerCaller)
    : leaseTime_(leaseTime), maxWait_(maxWait), leasesPerCaller_(leasesPerCaller)
{
}

ListLocks::Held ListLocks::lock(const std::string& stem)
{
    std::unique_lock guard(mutex_);
    auto entry = entries_.try_emplace(stem).first;
    Entry& e = entry->second;
    ++e.users;
    e.changed.wait(guard, [&] { return !e.busy; });
    e.busy = true;
    return Held(this, entry);
}

bool ListLocks::leaseLive(const Entry& entry, Clock::time_point now) const
{
    return entry.holder && now - entry.lastUse < leaseTime_;
}

void ListLocks::dropLease(Entries::iterator entry)
{
    Entry& e = entry->second;
    if (!e.holder)
        return;
    if (auto of = leasesOf_.find(e.holder->uid); of != leasesOf_.end()) {
        of->second.erase(entry->first);
        if (of->second.empty())
            leasesOf_.erase(of);
    }
    e.holder.reset();
    e.changed.notify_all();
}

void ListLocks::dropExpiredLeases(uid_t uid, Clock::time_point now)
{
    auto of = leasesOf_.find(uid);
    if (of == leasesOf_.end())
        return;
    const std::set<std::string> stems = of->second;  // dropLease edits the set
    for (const std::string& stem : stems) {
        auto entry = entries_.find(stem);
        if (entry != entries_.end() && !leaseLive(entry->second, now)) {
            dropLease(entry);
            eraseIfIdle(entry, now);
        }
    }
}

void ListLocks::eraseIfIdle(Entries::iterator entry, Clock::time_point now)
{
    Entry& e = entry->second;
    if (e.users > 0 || leaseLive(e, now))
        return;
    dropLease(entry);
    entries_.erase(entry);
}

void ListLocks::release(Entries::iterator entry)
{
    std::lock_guard guard(mutex_);
    Entry& e = entry->second;
    e.busy = false;
    --e.users;
    e.changed.notify_all();
    eraseIfIdle(entry, Clock::now());
}

ListLocks::Held::Held(Held&& other) noexcept : owner_(other.owner_), entry_(other.entry_)
{
    other.owner_ = nullptr;
}

ListLocks::Held::~Held()
{
    if (owner_)
        owner_->release(entry_);
}

BeginStatus ListLocks::Held::beginSequence(const Writer& writer, LeaseToken* token)
{
    ListLocks& l = *owner_;
    std::unique_lock guard(l.mutex_);
    Entry& e = entry_->second;
    const std::uint64_t ticket = e.nextTicket++;
    e.waiting.push_back(ticket);
    const Clock::time_point giveUp = Clock::now() + l.maxWait_;
    for (;;) {
        const Clock::time_point now = Clock::now();
        const bool free = !l.leaseLive(e, now) || *e.holder == writer;
        if (free && e.waiting.front() == ticket)
            break;
        if (now >= giveUp) {
            e.waiting.erase(std::find(e.waiting.begin(), e.waiting.end(), ticket));
            e.changed.notify_all();
            return BeginStatus::TimedOut;
        }
        Clock::time_point wake = giveUp;
        if (!free)
            wake = std::min(wake, e.lastUse + l.leaseTime_);
        // The list is let go while waiting: the lease's holder goes on with
        // its pieces and its commit meanwhile.
        e.busy = false;
        e.changed.notify_all();
        e.changed.wait_until(guard, wake);
        e.changed.wait(guard, [&] { return !e.busy; });
        e.busy = true;
    }
    e.waiting.pop_front();
    e.changed.notify_all();
    const Clock::time_point now = Clock::now();
    l.dropLease(entry_);
    l.dropExpiredLeases(writer.uid, now);
    auto& leases = l.leasesOf_[writer.uid];
    if (leases.size() >= l.leasesPerCaller_)
        return BeginStatus::TooManyLeases;
    leases.insert(entry_->first);
    e.holder = Writer{writer.uid, newLeaseToken()};
    e.lastUse = now;
    *token = e.holder->token;
    return BeginStatus::Begun;
}

bool ListLocks::Held::continueSequence(const Writer& writer)
{
    std::lock_guard guard(owner_->mutex_);
    Entry& e = entry_->second;
    const Clock::time_point now = Clock::now();
    if (writer.token.empty() || !owner_->leaseLive(e, now) || !(*e.holder == writer))
        return false;
    e.lastUse = now;
    return true;
}

void ListLocks::Held::endSequence(const Writer& writer)
{
    std::lock_guard guard(owner_->mutex_);
    if (entry_->second.holder && *entry_->second.holder == writer)
        owner_->dropLease(entry_);
}

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
