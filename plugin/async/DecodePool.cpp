#include "async/DecodePool.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

DecodePool::DecodePool(unsigned workers, unsigned aheadLimit) : m_aheadLimit(aheadLimit) {
    m_threads.reserve(std::max(workers, 1u));
    try {
        for (unsigned i = 0; i < std::max(workers, 1u); ++i) m_threads.emplace_back([this] { runWorker(); });
    } catch (...) {
        stop();
        throw;
    }
}

DecodePool::~DecodePool() { stop(); }

DecodePool::Ticket DecodePool::submit(Work work, Place place) {
    if (!work.valid()) throw std::invalid_argument("DecodePool::submit: the work has no task");
    Ticket ticket = 0;
    {
        std::lock_guard lock(m_mutex);
        ticket = place == Place::front ? m_queue.pushFront(std::move(work)) : m_queue.pushBack(std::move(work));
    }
    m_wake.notify_one();
    return ticket;
}

bool DecodePool::hurry(Ticket ticket) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_queue.moveToFront(ticket)) return false;
    }
    m_wake.notify_one();  // urgent work may pass the ahead limit a worker waits on
    return true;
}

bool DecodePool::withdraw(Ticket ticket) {
    std::lock_guard lock(m_mutex);
    return m_queue.remove(ticket);
}

void DecodePool::settle(Ticket ticket) {
    {
        std::lock_guard lock(m_mutex);
        const auto it = std::find(m_ahead.begin(), m_ahead.end(), ticket);
        if (it == m_ahead.end()) return;
        m_ahead.erase(it);
    }
    m_wake.notify_one();
}

bool DecodePool::mayTake() const {
    return !m_queue.empty() && (m_queue.frontIsUrgent() || m_ahead.size() < m_aheadLimit);
}

void DecodePool::runWorker() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || mayTake(); });
        if (m_stopping) return;
        if (!m_queue.frontIsUrgent()) m_ahead.push_back(m_queue.frontTicket());
        Work work = m_queue.takeFront();
        lock.unlock();
        work();  // its value or exception goes to its future
        work = Work();
        lock.lock();
    }
}

void DecodePool::stop() noexcept {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_queue.clear();
    }
    m_wake.notify_all();
    for (std::thread& thread : m_threads)
        if (thread.joinable()) thread.join();
}
