#include "video/HostFrame.h"

#include <utility>

#include "log/Log.h"

HostFrame::HostFrame(HostFrame&& other) noexcept : m_ppix(other.m_ppix), m_frame(other.release()) {}

HostFrame& HostFrame::operator=(HostFrame&& other) noexcept {
    if (this != &other) {
        reset();
        m_ppix = other.m_ppix;
        m_frame = other.release();
    }
    return *this;
}

void HostFrame::adopt(prsdk::PPixHand frame) {
    reset();
    m_frame = frame;
}

void HostFrame::reset() {
    const prsdk::PPixHand frame = release();
    if (!frame || !m_ppix) return;
    if (const int32_t result = m_ppix->Dispose(frame)) logMessage("ERROR: Dispose() failed: %d", result);
}

prsdk::PPixHand HostFrame::release() { return std::exchange(m_frame, nullptr); }
