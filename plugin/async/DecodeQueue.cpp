#include "async/DecodeQueue.h"

#include <algorithm>
#include <utility>

DecodeQueue::Ticket DecodeQueue::pushBack(Work work) {
    m_waiting.push_back(Entry{m_nextTicket, std::move(work), false});
    return m_nextTicket++;
}

DecodeQueue::Ticket DecodeQueue::pushFront(Work work) {
    m_waiting.push_front(Entry{m_nextTicket, std::move(work), true});
    return m_nextTicket++;
}

bool DecodeQueue::moveToFront(Ticket ticket) {
    const auto it = find(ticket);
    if (it == m_waiting.end()) return false;
    it->urgent = true;
    m_waiting.splice(m_waiting.begin(), m_waiting, it);
    return true;
}

bool DecodeQueue::remove(Ticket ticket) {
    const auto it = find(ticket);
    if (it == m_waiting.end()) return false;
    m_waiting.erase(it);
    return true;
}

DecodeQueue::Work DecodeQueue::takeFront() {
    Work work = std::move(m_waiting.front().work);
    m_waiting.pop_front();
    return work;
}

size_t DecodeQueue::clear() {
    const size_t removed = m_waiting.size();
    m_waiting.clear();
    return removed;
}

DecodeQueue::Entries::iterator DecodeQueue::find(Ticket ticket) {
    return std::find_if(m_waiting.begin(), m_waiting.end(), [ticket](const Entry& e) { return e.ticket == ticket; });
}
