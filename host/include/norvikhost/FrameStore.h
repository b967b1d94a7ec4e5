// The host's frames (PPix): real buffers with the host's row bytes (padded, see
// hostRowBytes), starting on kBufferAlignment, with guard bytes before and after
// each buffer. A frame whose format is not top-left is stored bottom row first,
// as the host does: memory row 0 holds the picture's bottom row, and GetPixels
// hands out the start of memory.
//
// The store keeps the host's books on frames: which are live, which the module
// handed to the host, and every problem it finds (guard bytes overwritten, a
// handle disposed of that is not a live frame, a frame the module neither
// disposed of nor handed over by the time the clip is closed). Buffers of
// disposed frames are kept for reuse, as a host's frame cache does, so a new
// frame may hold an older frame's pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "prsdk/PrSDK.h"

namespace norvikhost {

// Bytes of the guard zones before and after every frame buffer (at least), and their value.
constexpr std::size_t kGuardBytes = 64;
constexpr std::uint8_t kGuardByte = 0xA5;

// One host frame. Owned by the FrameStore; its address is the PPixHand.
struct Frame {
    prsdk::PrPixelFormat format = 0;
    prsdk::prRect bounds{};
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t rowBytes = 0;
    bool topLeft = true;
    bool handedOver = false;            // the module gave it to the host
    std::size_t serial = 0;             // 1 for the first frame the store made
    std::vector<std::uint8_t> storage;  // guards, buffer and alignment slack
    std::uint8_t* pixels = nullptr;     // aligned start of the buffer inside storage
    std::size_t size = 0;               // bytes of the buffer
};

// Thread-safe: one mutex guards the set of frames and the books. A frame's pixels
// may be written by one thread while others create or dispose other frames.
class FrameStore {
public:
    FrameStore() = default;
    FrameStore(const FrameStore&) = delete;
    FrameStore& operator=(const FrameStore&) = delete;

    // Creates a frame; suite error codes: InvalidParms for a null or empty
    // rectangle or a format without a row layout, OutOfMemory past the limit.
    std::int32_t create(prsdk::PrPixelFormat format, const prsdk::prRect* bounds, bool topLeft, prsdk::PPixHand* out);
    std::int32_t clone(prsdk::PPixHand source, prsdk::PPixHand* out);
    // Checks the frame's guards and frees it. InvalidParms (and a problem) when
    // the handle is not a live frame of this store. `byModule` marks the module's
    // own Dispose calls: disposing of a frame it handed to the host is a problem.
    std::int32_t dispose(prsdk::PPixHand frame, bool byModule = false);
    // The host received the frame from the module (imGetSourceVideo's outFrame);
    // from now on the host disposes of it. False when it is not a live frame.
    bool handOver(prsdk::PPixHand frame);

    // The frame behind a handle, or null. The pointer stays valid until the
    // frame is disposed of; do not keep it past that.
    const Frame* find(prsdk::PPixHand frame) const;

    // The picture of a frame, rows from top to bottom, each packedRowBytes long
    // (no padding). Throws HostError for an unknown handle or a planar format.
    std::vector<std::uint8_t> readTopRowFirst(prsdk::PPixHand frame) const;
    // Fills a frame from top-row-first packed rows (the inverse of readTopRowFirst).
    void writeTopRowFirst(prsdk::PPixHand frame, const std::vector<std::uint8_t>& picture);

    // What the host checks when a clip is closed: the guards of every live frame,
    // and frames the module still holds (neither disposed of nor handed over).
    // Returns every problem found so far, these included; empty when all is well.
    std::vector<std::string> checkAtClose();
    std::vector<std::string> problems() const;

    std::size_t liveCount() const;
    std::size_t createdCount() const;
    std::size_t badDisposals() const;

private:
    Frame* findLocked(prsdk::PPixHand frame) const;
    std::unique_ptr<Frame> makeFrameLocked(prsdk::PrPixelFormat format, const prsdk::prRect& bounds, bool topLeft);
    void checkGuardsLocked(const Frame& frame, const char* when);

    mutable std::mutex m_mutex;
    std::map<prsdk::PPixHand, std::unique_ptr<Frame>> m_frames;  // guarded by m_mutex
    std::vector<std::vector<std::uint8_t>> m_spareStorage;       // guarded by m_mutex
    std::vector<std::string> m_problems;                         // guarded by m_mutex
    std::size_t m_created = 0;                                   // guarded by m_mutex
    std::size_t m_badDisposals = 0;                              // guarded by m_mutex
};

}  // namespace norvikhost
