#include "service/UserShares.h"

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

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
