#include "ThreadPool.h"

#include <algorithm>

namespace norvik {

unsigned defaultThreadCount() {
    const unsigned n = std::thread::hardware_concurrency();
    return std::clamp(n, 1u, 16u);
}

ThreadPool::ThreadPool(unsigned extraThreads) {
    m_threads.reserve(extraThreads);
    for (unsigned i = 0; i < extraThreads; ++i) m_threads.emplace_back([this, i] { workerLoop(i + 1); });
}

ThreadPool::~ThreadPool() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    for (auto& t : m_threads) t.join();
}

void ThreadPool::take(unsigned worker) {
    const Task& task = *m_task;
    for (;;) {
        const uint32_t i = m_next.fetch_add(1, std::memory_order_relaxed);
        if (i >= m_count) return;
        task(i, worker);
    }
}

void ThreadPool::run(uint32_t count, const Task& task) {
    if (count == 0) return;
    if (m_threads.empty() || count == 1) {
        for (uint32_t i = 0; i < count; ++i) task(i, 0);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_task = &task;
        m_count = count;
        m_next.store(0, std::memory_order_relaxed);
        m_busy = static_cast<unsigned>(m_threads.size());
        ++m_generation;
    }
    m_wake.notify_all();
    take(0);
    std::unique_lock<std::mutex> lock(m_mutex);
    m_done.wait(lock, [this] { return m_busy == 0; });
    m_task = nullptr;
}

void ThreadPool::workerLoop(unsigned worker) {
    uint64_t seen = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [&] { return m_stop || m_generation != seen; });
            if (m_stop) return;
            seen = m_generation;
        }
        take(worker);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            --m_busy;
        }
        m_done.notify_one();
    }
}

}  // namespace norvik
