#include "norvikhost/FrameStore.h"

#include <algorithm>
#include <cstring>

#include "norvikhost/HostError.h"
#include "norvikhost/PixelFormatNames.h"
#include "norvikhost/PixelLayout.h"

namespace norvikhost {

using namespace prsdk;

namespace {

// Frames above this size are refused as out of memory, as a host would.
constexpr std::int64_t kMaxFrameBytes = std::int64_t(1) << 31;
// Buffers of disposed frames kept for reuse.
constexpr std::size_t kMaxSpareBuffers = 8;

// Memory row of picture row y.
std::size_t memoryRow(const Frame& frame, std::int32_t y) {
    return std::size_t(frame.topLeft ? y : frame.height - 1 - y);
}

std::string describe(const Frame& frame) {
    return "frame " + std::to_string(frame.serial) + " (" + pixelFormatText(frame.format) + " " +
           std::to_string(frame.width) + "x" + std::to_string(frame.height) + ")";
}

// Places the aligned buffer inside the storage and writes the guard zones round it.
void placeBuffer(Frame& frame) {
    std::uint8_t* begin = frame.storage.data();
    std::uint8_t* end = begin + frame.storage.size();
    const auto address = reinterpret_cast<std::uintptr_t>(begin + kGuardBytes);
    frame.pixels = begin + kGuardBytes + (kBufferAlignment - address % kBufferAlignment) % kBufferAlignment;
    std::fill(begin, frame.pixels, kGuardByte);
    std::fill(frame.pixels + frame.size, end, kGuardByte);
}

bool guardIntact(const std::uint8_t* begin, const std::uint8_t* end) {
    return std::all_of(begin, end, [](std::uint8_t b) { return b == kGuardByte; });
}

}  // namespace

std::unique_ptr<Frame> FrameStore::makeFrameLocked(PrPixelFormat format, const prRect& bounds, bool topLeft) {
    auto frame = std::make_unique<Frame>();
    frame->format = format;
    frame->bounds = bounds;
    frame->width = bounds.right - bounds.left;
    frame->height = bounds.bottom - bounds.top;
    frame->rowBytes = std::int32_t(hostRowBytes(format, frame->width));
    frame->topLeft = topLeft;
    frame->serial = ++m_created;
    frame->size = std::size_t(frameBufferSize(format, frame->width, frame->height));
    const std::size_t storageSize = frame->size + 2 * kGuardBytes + kBufferAlignment;
    const auto spare = std::find_if(m_spareStorage.begin(), m_spareStorage.end(),
                                    [&](const std::vector<std::uint8_t>& s) { return s.size() == storageSize; });
    if (spare != m_spareStorage.end()) {
        frame->storage = std::move(*spare);
        m_spareStorage.erase(spare);
    } else {
        frame->storage.resize(storageSize);
    }
    placeBuffer(*frame);
    return frame;
}

std::int32_t FrameStore::create(PrPixelFormat format, const prRect* bounds, bool topLeft, PPixHand* out) {
    if (!out) return suiteError_InvalidParms;
    *out = nullptr;
    if (!bounds) return suiteError_InvalidParms;
    const std::int64_t width = std::int64_t(bounds->right) - bounds->left;
    const std::int64_t height = std::int64_t(bounds->bottom) - bounds->top;
    if (width < 1 || height < 1 || width > INT32_MAX || height > INT32_MAX) return suiteError_InvalidParms;
    const std::int64_t size = frameBufferSize(format, std::int32_t(width), std::int32_t(height));
    if (size == 0) return suiteError_InvalidParms;
    if (size > kMaxFrameBytes) return suiteError_OutOfMemory;
    std::lock_guard lock(m_mutex);
    auto frame = makeFrameLocked(format, *bounds, topLeft);
    PPixHand handle = frame.get();
    m_frames.emplace(handle, std::move(frame));
    *out = handle;
    return suiteError_NoError;
}

std::int32_t FrameStore::clone(PPixHand source, PPixHand* out) {
    if (!out) return suiteError_InvalidParms;
    *out = nullptr;
    std::lock_guard lock(m_mutex);
    const Frame* original = findLocked(source);
    if (!original) return suiteError_InvalidParms;
    auto frame = makeFrameLocked(original->format, original->bounds, original->topLeft);
    std::memcpy(frame->pixels, original->pixels, original->size);
    PPixHand handle = frame.get();
    m_frames.emplace(handle, std::move(frame));
    *out = handle;
    return suiteError_NoError;
}

void FrameStore::checkGuardsLocked(const Frame& frame, const char* when) {
    const std::uint8_t* begin = frame.storage.data();
    if (!guardIntact(begin, frame.pixels))
        m_problems.push_back(describe(frame) + ": the bytes before its buffer were overwritten (found " + when + ")");
    if (!guardIntact(frame.pixels + frame.size, begin + frame.storage.size()))
        m_problems.push_back(describe(frame) + ": the bytes after its buffer were overwritten (found " + when + ")");
}

std::int32_t FrameStore::dispose(PPixHand handle, bool byModule) {
    std::lock_guard lock(m_mutex);
    const auto it = m_frames.find(handle);
    if (it == m_frames.end()) {
        ++m_badDisposals;
        m_problems.push_back("Dispose of a handle that is not a live frame");
        return suiteError_InvalidParms;
    }
    const Frame& frame = *it->second;
    checkGuardsLocked(frame, "at Dispose");
    if (byModule && frame.handedOver)
        m_problems.push_back(describe(frame) + ": the module disposed of a frame it had handed to the host");
    if (m_spareStorage.size() < kMaxSpareBuffers) m_spareStorage.push_back(std::move(it->second->storage));
    m_frames.erase(it);
    return suiteError_NoError;
}

bool FrameStore::handOver(PPixHand handle) {
    std::lock_guard lock(m_mutex);
    Frame* frame = findLocked(handle);
    if (frame) frame->handedOver = true;
    return frame != nullptr;
}

Frame* FrameStore::findLocked(PPixHand frame) const {
    const auto it = m_frames.find(frame);
    return it == m_frames.end() ? nullptr : it->second.get();
}

const Frame* FrameStore::find(PPixHand frame) const {
    std::lock_guard lock(m_mutex);
    return findLocked(frame);
}

std::vector<std::uint8_t> FrameStore::readTopRowFirst(PPixHand handle) const {
    std::lock_guard lock(m_mutex);
    const Frame* frame = findLocked(handle);
    if (!frame) throw HostError("not a live host frame");
    if (pixelFormatIsPlanar(frame->format)) throw HostError("planar frames have no single row order");
    const auto rowLength = std::size_t(packedRowBytes(frame->format, frame->width));
    std::vector<std::uint8_t> picture(rowLength * std::size_t(frame->height));
    for (std::int32_t y = 0; y < frame->height; ++y)
        std::memcpy(picture.data() + rowLength * std::size_t(y),
                    frame->pixels + memoryRow(*frame, y) * std::size_t(frame->rowBytes), rowLength);
    return picture;
}

void FrameStore::writeTopRowFirst(PPixHand handle, const std::vector<std::uint8_t>& picture) {
    std::lock_guard lock(m_mutex);
    Frame* frame = findLocked(handle);
    if (!frame) throw HostError("not a live host frame");
    if (pixelFormatIsPlanar(frame->format)) throw HostError("planar frames have no single row order");
    const auto rowLength = std::size_t(packedRowBytes(frame->format, frame->width));
    if (picture.size() != rowLength * std::size_t(frame->height))
        throw HostError("picture size does not match the frame");
    for (std::int32_t y = 0; y < frame->height; ++y)
        std::memcpy(frame->pixels + memoryRow(*frame, y) * std::size_t(frame->rowBytes),
                    picture.data() + rowLength * std::size_t(y), rowLength);
}

std::vector<std::string> FrameStore::checkAtClose() {
    std::lock_guard lock(m_mutex);
    for (const auto& [handle, frame] : m_frames) {
        checkGuardsLocked(*frame, "at close");
        if (!frame->handedOver)
            m_problems.push_back(describe(*frame) + ": the module neither disposed of it nor handed it to the host");
    }
    return m_problems;
}

std::vector<std::string> FrameStore::problems() const {
    std::lock_guard lock(m_mutex);
    return m_problems;
}

std::size_t FrameStore::liveCount() const {
    std::lock_guard lock(m_mutex);
    return m_frames.size();
}

std::size_t FrameStore::createdCount() const {
    std::lock_guard lock(m_mutex);
    return m_created;
}

std::size_t FrameStore::badDisposals() const {
    std::lock_guard lock(m_mutex);
    return m_badDisposals;
}

}  // namespace norvikhost
