#include "norvikhost/RenderThreadsRequester.h"

#include <algorithm>
#include <utility>

namespace norvikhost {

RenderThreadsRequester::RenderThreadsRequester(FrameSession& session, prsdk::PrPixelFormat format, int threads)
    : m_session(session), m_format(format) {
    const int count = std::max(threads, 1);
    m_threads.reserve(std::size_t(count));
    try {
        for (int i = 0; i < count; ++i) m_threads.emplace_back([this] { run(); });
    } catch (...) {
        stop();
        throw;
    }
}

RenderThreadsRequester::~RenderThreadsRequester() {
    stop();
    m_slots.clear();  // gives back frames never collected
}

void RenderThreadsRequester::stop() noexcept {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_waiting.clear();
    }
    m_changed.notify_all();
    for (std::thread& thread : m_threads)
        if (thread.joinable()) thread.join();
}

FrameAnswer RenderThreadsRequester::request(std::int64_t index) {
    std::unique_lock lock(m_mutex);
    want(index);
    m_changed.notify_all();
    m_changed.wait(lock, [&] { return m_slots.at(index).answered; });
    auto slot = m_slots.extract(index);
    lock.unlock();
    if (slot.mapped().error) std::rethrow_exception(slot.mapped().error);
    return std::move(slot.mapped().answer);
}

void RenderThreadsRequester::want(std::int64_t first) {
    const std::int64_t last = std::max(first, std::min(first + std::int64_t(m_threads.size()), m_session.video().frameCount) - 1);
    for (auto it = m_slots.begin(); it != m_slots.end();) {
        Slot& slot = it->second;
        slot.wanted = it->first >= first && it->first <= last;
        it = !slot.wanted && (slot.answered || !slot.begun) ? m_slots.erase(it) : std::next(it);
    }
    m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(), [&](std::int64_t i) { return i < first || i > last; }),
                    m_waiting.end());
    for (std::int64_t index = first; index <= last; ++index)
        if (m_slots.try_emplace(index).second) m_waiting.push_back(index);
}

void RenderThreadsRequester::run() {
    SourceVideoRequester requester(m_session, m_format);
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_waiting.empty(); });
        if (m_stopping) return;
        const std::int64_t index = m_waiting.front();
        m_waiting.pop_front();
        m_slots.at(index).begun = true;
        lock.unlock();
        FrameAnswer answer;
        std::exception_ptr error;
        try {
            answer = requester.request(index);
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        Slot& slot = m_slots.at(index);
        if (slot.wanted) {
            slot.answer = std::move(answer);
            slot.error = error;
            slot.answered = true;
            m_changed.notify_all();
        } else {
            m_slots.erase(index);  // gives the frame back
        }
    }
}

}  // namespace norvikhost
