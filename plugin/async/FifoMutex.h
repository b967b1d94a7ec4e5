// A mutex that lets its waiters in in the order they asked. A plain mutex lets a
// thread that unlocks lock again before a waiter wakes: a decode worker that has
// just finished one frame could decode the next one it took before the frame the
// host is waiting for, which another worker has read and waits to decode. Here
// each lock() draws a number and waits only for the holders before it, each of
// which holds the mutex for one step and gives it on.
//
// Thread-safe; meets the standard Lockable shape for std::lock_guard. Not recursive.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

class FifoMutex {
public:
    void lock() {
        std::unique_lock guard(m_mutex);
        const uint64_t mine = m_drawn++;
        m_turn.wait(guard, [&] { return m_serving == mine; });
    }
    void unlock() {
        {
            std::lock_guard guard(m_mutex);
            ++m_serving;
        }
        m_turn.notify_all();
    }

private:
    std::mutex m_mutex;  // guards m_drawn and m_serving
    std::condition_variable m_turn;
    uint64_t m_drawn = 0;    // the number the next lock() draws
    uint64_t m_serving = 0;  // the number that holds the mutex, or may take it
};
