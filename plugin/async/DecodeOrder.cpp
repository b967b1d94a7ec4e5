#include "async/DecodeOrder.h"

DecodeOrder::Turn DecodeOrder::waitFor(uint64_t turn) {
    std::unique_lock lock(m_mutex);
    m_passed.wait(lock, [&] { return m_served == turn; });
    return Turn(*this);
}

DecodeOrder::Turn::~Turn() {
    {
        std::lock_guard lock(m_order.m_mutex);
        ++m_order.m_served;
    }
    m_order.m_passed.notify_all();
}
