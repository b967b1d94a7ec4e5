#include "Session.h"

#include <mutex>
#include <unordered_map>

namespace norvik {

ThreadPool& Session::pool() {
    const unsigned wanted = threads == 0 ? defaultThreadCount() : threads;
    if (!m_pool || m_pool->workers() != wanted) {
        m_pool.reset();
        m_pool = std::make_unique<ThreadPool>(wanted - 1);
    }
    return *m_pool;
}

namespace {

struct Table {
    std::mutex mutex;  // guards both members
    std::unordered_map<uint32_t, std::shared_ptr<Session>> sessions;
    uint32_t next = 1;
    int users = 0;
};

// Never destroyed: handles left open at exit must not be torn down (and their
// threads joined) while the module is being unloaded.
Table& table() {
    static Table* t = new Table;
    return *t;
}

}  // namespace

uint32_t openSession() {
    auto session = std::make_shared<Session>();
    Table& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    if (t.sessions.size() >= 0x10000) return 0;
    uint32_t h = t.next;
    while (h == 0 || t.sessions.count(h) != 0) ++h;
    t.next = h + 1;
    t.sessions.emplace(h, std::move(session));
    return h;
}

std::shared_ptr<Session> findSession(uint32_t handle) {
    Table& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    const auto it = t.sessions.find(handle);
    return it == t.sessions.end() ? nullptr : it->second;
}

bool closeSession(uint32_t handle) {
    std::shared_ptr<Session> doomed;  // destroyed outside the lock
    Table& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    const auto it = t.sessions.find(handle);
    if (it == t.sessions.end()) return false;
    doomed = std::move(it->second);
    t.sessions.erase(it);
    return true;
}

void addUser() {
    Table& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    ++t.users;
}

void removeUser() {
    std::unordered_map<uint32_t, std::shared_ptr<Session>> doomed;  // destroyed outside the lock
    Table& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    if (t.users == 0) return;
    if (--t.users == 0) doomed.swap(t.sessions);
}

}  // namespace norvik
