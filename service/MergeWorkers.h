// The threads that merge what walks found into the callers' lists.
//
// A merge reads a list of about half a megabyte, rewrites it and makes it
// durable. Run on the connection's thread, which starts afresh for every
// connection, each merge would first fault in its read buffer, its decode
// tables and the text it writes; a few threads that live as long as the
// service keep those warm from one merge to the next, which is what a busy
// print server's burst of walks needs. Merges of different lists run side by
// side, one per worker; those of one list still take turns by its lock.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212 {

class MergeWorkers {
public:
    // `count` workers, at least one.
    explicit MergeWorkers(std::size_t count);
    // Lets the workers finish the merges queued, then joins them.
    ~MergeWorkers();
    MergeWorkers(const MergeWorkers&) = delete;
    MergeWorkers& operator=(const MergeWorkers&) = delete;

    // Runs the merge on a worker and returns its result once it has run.
    int run(std::function<int()> merge);

private:
    void work();

    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<std::packaged_task<int()>> merges_;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace svc_D47A1C3E_92B5_4E60_B8F1_07C3A9E5D212
