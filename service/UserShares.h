// Each user's share of the service's connections, so that no user can deny
// it to another: connection slots, capped per user and in all. The walks'
// share is in SharedExchanges.h.
#pragma once

#include <cstddef>
#include <map>
#include <mutex>
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

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
