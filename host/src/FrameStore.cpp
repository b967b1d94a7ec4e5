#include "norvikhost/FrameStore.h"

#include <cstring>

#include "norvikhost/HostError.h"
#include "norvikhost/PixelLayout.h"

namespace norvikhost {

using namespace prsdk;

namespace {

// Frames above this size are refused as out of memory, as a host would.
constexpr std::int64_t kMaxFrameBytes = std::int64_t(1) << 31;

std::unique_ptr<Frame> makeFrame(PrPixelFormat format, const prRect& bounds, bool topLeft) {
    auto frame = std::make_unique<Frame>();
    frame->format = format;
    frame->bounds = bounds;
    frame->width = bounds.right - bounds.left;
    frame->height = bounds.bottom - bounds.top;
    frame->rowBytes = std::int32_t(hostRowBytes(format, frame->width));
    frame->topLeft = topLeft;
    frame->size = std::size_t(frameBufferSize(format, frame->width, frame->height));
    frame->storage.resize(frame->size + kBufferAlignment);
    const auto address = reinterpret_cast<std::uintptr_t>(frame->storage.data());
    const auto offset = (kBufferAlignment - address % kBufferAlignment) % kBufferAlignment;
    frame->pixels = frame->storage.data() + offset;
    return frame;
}

// Memory row of picture row y.
std::size_t memoryRow(const Frame& frame, std::int32_t y) {
    return std::size_t(frame.topLeft ? y : frame.height - 1 - y);
}

}  // namespace

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
    auto frame = makeFrame(format, *bounds, topLeft);
    PPixHand handle = frame.get();
    std::lock_guard lock(m_mutex);
    m_frames.emplace(handle, std::move(frame));
    ++m_created;
    *out = handle;
    return suiteError_NoError;
}

std::int32_t FrameStore::clone(PPixHand source, PPixHand* out) {
    if (!out) return suiteError_InvalidParms;
    *out = nullptr;
    std::lock_guard lock(m_mutex);
    const Frame* original = findLocked(source);
    if (!original) return suiteError_InvalidParms;
    auto frame = makeFrame(original->format, original->bounds, original->topLeft);
    std::memcpy(frame->pixels, original->pixels, original->size);
    PPixHand handle = frame.get();
    m_frames.emplace(handle, std::move(frame));
    ++m_created;
    *out = handle;
    return suiteError_NoError;
}

std::int32_t FrameStore::dispose(PPixHand frame) {
    std::lock_guard lock(m_mutex);
    if (m_frames.erase(frame) == 1) return suiteError_NoError;
    ++m_badDisposals;
    return suiteError_InvalidParms;
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
