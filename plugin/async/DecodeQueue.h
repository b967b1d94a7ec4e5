// The decodes an asynchronous importer has waiting for a worker, in the order
// workers take them: announced work joins at the back, work the host is already
// waiting for goes to the front (and is marked urgent), and work nobody wants any
// more leaves without running. Each piece of work is a packaged task: removing one that never ran
// destroys it, which ends its future at once with std::future_errc::broken_promise
// ("not made").
//
// Not thread-safe: DecodePool guards its queue with its own mutex.
#pragma once

#include <cstdint>
#include <future>
#include <list>

class DecodeQueue {
public:
    using Work = std::packaged_task<int32_t()>;
    using Ticket = uint64_t;  // names one piece of work while it waits; never reused

    // Appends `work` (taken last) or puts it, urgent, before everything waiting (taken next).
    Ticket pushBack(Work work);
    Ticket pushFront(Work work);
    // Moves waiting work to the front and marks it urgent. False when it is not
    // waiting (taken or removed).
    bool moveToFront(Ticket ticket);
    // Removes and destroys waiting work, so that its future ends without a value.
    // False when it is not waiting: work already taken runs to its end.
    bool remove(Ticket ticket);
    // Whether the work at the front was pushed or moved there. REQUIRES !empty().
    bool frontIsUrgent() const { return m_waiting.front().urgent; }
    // The ticket of the work at the front. REQUIRES !empty().
    Ticket frontTicket() const { return m_waiting.front().ticket; }
    // Takes the work at the front. REQUIRES !empty().
    Work takeFront();
    // Removes everything waiting (as remove() does for each); returns how many.
    size_t clear();

    bool empty() const { return m_waiting.empty(); }
    size_t size() const { return m_waiting.size(); }

private:
    struct Entry {
        Ticket ticket;
        Work work;
        bool urgent;  // the host waits for it: it goes before everything announced
    };
    using Entries = std::list<Entry>;

    Entries::iterator find(Ticket ticket);

    Entries m_waiting;  // front: taken next
    Ticket m_nextTicket = 0;
};
