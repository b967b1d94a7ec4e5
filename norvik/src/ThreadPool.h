// A small pool of worker threads that runs the slices of one call in parallel.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace norvik {

// Runs task(index, worker) for every index in [0, count): the calling thread
// (worker 0) and the pool's threads (workers 1..n) take indices in turn. run()
// returns when every index is done. One run() at a time (the owner of the pool
// serialises its calls); the destructor stops and joins the threads.
class ThreadPool {
public:
    using Task = std::function<void(uint32_t index, unsigned worker)>;

    explicit ThreadPool(unsigned extraThreads);
    ~ThreadPool();
    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;

    // Number of workers including the calling thread.
    unsigned workers() const { return static_cast<unsigned>(m_threads.size()) + 1; }

    void run(uint32_t count, const Task& task);

private:
    void workerLoop(unsigned worker);
    void take(unsigned worker);

    std::vector<std::thread> m_threads;
    std::mutex m_mutex;              // guards every member below except the atomics
    std::condition_variable m_wake;  // a new job or stop
    std::condition_variable m_done;  // a worker left the job
    const Task* m_task = nullptr;
    uint32_t m_count = 0;
    uint64_t m_generation = 0;
    unsigned m_busy = 0;  // pool threads still inside the current job
    bool m_stop = false;
    std::atomic<uint32_t> m_next{0};  // next index to take
};

// The number of workers to use by default: one per processor, at most 16.
unsigned defaultThreadCount();

}  // namespace norvik
