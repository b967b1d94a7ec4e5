// The host's frames (PPix): real buffers with the host's row bytes, aligned to
// kBufferAlignment. A frame whose format is not top-left is stored bottom row
// first, as the host does: memory row 0 holds the picture's bottom row, and
// GetPixels hands out the start of memory. The store tracks live frames so
// tests can find leaks, and reads a frame's picture back top row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "prsdk/PrSDK.h"

namespace norvikhost {

// One host frame. Owned by the FrameStore; its address is the PPixHand.
struct Frame {
    prsdk::PrPixelFormat format = 0;
    prsdk::prRect bounds{};
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t rowBytes = 0;
    bool topLeft = true;
    std::vector<std::uint8_t> storage;  // buffer plus alignment slack
    std::uint8_t* pixels = nullptr;     // aligned start inside storage
    std::size_t size = 0;               // bytes from pixels on
};

// Thread-safe: one mutex guards the set of frames. A frame's pixels may be
// written by one thread while others create or dispose other frames.
class FrameStore {
public:
    FrameStore() = default;
    FrameStore(const FrameStore&) = delete;
    FrameStore& operator=(const FrameStore&) = delete;

    // Creates a frame; suite error codes: InvalidParms for a null or empty
    // rectangle or a format without a row layout, OutOfMemory past the limit.
    std::int32_t create(prsdk::PrPixelFormat format, const prsdk::prRect* bounds, bool topLeft, prsdk::PPixHand* out);
    std::int32_t clone(prsdk::PPixHand source, prsdk::PPixHand* out);
    // InvalidParms when the handle is not a live frame of this store.
    std::int32_t dispose(prsdk::PPixHand frame);

    // The frame behind a handle, or null. The pointer stays valid until the
    // frame is disposed of; do not keep it past that.
    const Frame* find(prsdk::PPixHand frame) const;

    // The picture of a frame, rows from top to bottom, each packedRowBytes long
    // (no padding). Throws HostError for an unknown handle or a planar format.
    std::vector<std::uint8_t> readTopRowFirst(prsdk::PPixHand frame) const;
    // Fills a frame from top-row-first packed rows (the inverse of readTopRowFirst).
    void writeTopRowFirst(prsdk::PPixHand frame, const std::vector<std::uint8_t>& picture);

    std::size_t liveCount() const;
    std::size_t createdCount() const;
    std::size_t badDisposals() const;

private:
    Frame* findLocked(prsdk::PPixHand frame) const;

    mutable std::mutex m_mutex;
    std::map<prsdk::PPixHand, std::unique_ptr<Frame>> m_frames;  // guarded by m_mutex
    std::size_t m_created = 0;                                   // guarded by m_mutex
    std::size_t m_badDisposals = 0;                              // guarded by m_mutex
};

}  // namespace norvikhost
