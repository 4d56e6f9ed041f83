#include "service/MergeWorkers.h"

#include <utility>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

MergeWorkers::MergeWorkers(std::size_t count)
{
    for (std::size_t i = 0; i < (count > 0 ? count : 1); ++i)
        workers_.emplace_back(&MergeWorkers::work, this);
}

MergeWorkers::~MergeWorkers()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    queued_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
}

int MergeWorkers::run(std::function<int()> merge)
{
    std::packaged_task<int()> task(std::move(merge));
    std::future<int> result = task.get_future();
    {
        std::lock_guard lock(mutex_);
        merges_.push_back(std::move(task));
    }
    queued_.notify_one();
    return result.get();
}

void MergeWorkers::work()
{
    for (;;) {
        std::unique_lock lock(mutex_);
        queued_.wait(lock, [this] { return stopping_ || !merges_.empty(); });
        if (merges_.empty())
            return;
        std::packaged_task<int()> task = std::move(merges_.front());
        merges_.pop_front();
        lock.unlock();
        task();
    }
}

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
