// A fixed set of worker threads that run an asynchronous importer's decodes from a
// DecodeQueue, whatever the number of frames announced. A worker takes the work at
// the front of the queue, runs it without any lock of the pool held, and takes
// the next; it never waits for another piece of work. So no order of submissions,
// promotions and withdrawals can make the pool wait for itself.
//
// Decoding ahead is paced: at most `aheadLimit` pieces of work taken from the back
// (announced, not urgent) may be unsettled at once; the owner settles one when
// its result is collected or dropped. A frame decoded far ahead is lost at the
// next jump of the playhead, so the limit keeps the decodes nobody shows few.
// Urgent work (pushed or moved to the front: the host waits for it) is taken
// whatever the limit, so a collection never waits for a settlement.
//
// Thread-safe: submit, hurry and withdraw may be called from any thread, also
// from a piece of work. Destruction must not overlap any other call and must not
// happen on a worker: it discards the work still waiting (its futures end without
// a value), lets the work that runs finish, and joins every worker.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "async/DecodeQueue.h"

class DecodePool {
public:
    using Work = DecodeQueue::Work;
    using Ticket = DecodeQueue::Ticket;
    enum class Place { back, front };

    static constexpr unsigned kNoAheadLimit = ~0u;

    // Starts `workers` (>= 1) threads. Throws std::system_error when a thread
    // cannot be had (the threads started are joined first).
    explicit DecodePool(unsigned workers, unsigned aheadLimit = kNoAheadLimit);
    ~DecodePool();
    DecodePool(const DecodePool&) = delete;
    DecodePool& operator=(const DecodePool&) = delete;

    // Queues `work` (take its future first) and wakes a worker. Throws
    // std::invalid_argument when `work` holds no task.
    Ticket submit(Work work, Place place = Place::back);
    // Moves the work to the front when it still waits; false once it was taken.
    bool hurry(Ticket ticket);
    // Drops the work when it still waits (its future ends at once with
    // broken_promise); false when it was taken: it runs to its end.
    bool withdraw(Ticket ticket);
    // The result of the work of `ticket` was collected or dropped: when it was
    // taken ahead, it no longer counts against the limit. Any ticket may be
    // settled, once or more; only the first settlement of work taken ahead counts.
    void settle(Ticket ticket);

    unsigned workers() const { return unsigned(m_threads.size()); }

private:
    void runWorker();
    // REQUIRES m_mutex. Whether a worker may take the work at the front now.
    bool mayTake() const;
    void stop() noexcept;

    std::mutex m_mutex;  // guards m_queue, m_ahead and m_stopping
    std::condition_variable m_wake;
    DecodeQueue m_queue;
    const unsigned m_aheadLimit;
    std::vector<Ticket> m_ahead;  // work taken from the back, not settled yet
    bool m_stopping = false;
    std::vector<std::thread> m_threads;  // written only by the constructor
};
