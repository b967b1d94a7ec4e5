#include "norvikhost/ChannelBuffers.h"

#include <algorithm>
#include <bit>

namespace norvikhost {

namespace {

bool isGuard(float v) { return std::bit_cast<std::uint32_t>(v) == kGuardBits; }

}  // namespace

ChannelBuffers::ChannelBuffers(std::uint32_t channels, std::uint32_t frames)
    : m_channels(channels),
      m_frames(frames),
      m_block(kGuardFloats + std::size_t(channels) * (std::size_t(frames) + kGuardFloats),
              std::bit_cast<float>(kGuardBits)) {
    for (std::uint32_t c = 0; c < channels; ++c)
        m_pointers.push_back(m_block.data() + kGuardFloats + std::size_t(c) * (std::size_t(frames) + kGuardFloats));
}

bool ChannelBuffers::guardsIntact() const {
    const auto guardAt = [](const float* first) { return std::all_of(first, first + kGuardFloats, isGuard); };
    if (!guardAt(m_block.data())) return false;
    for (const float* channel : m_pointers)
        if (!guardAt(channel + m_frames)) return false;
    return true;
}

std::uint64_t ChannelBuffers::unwrittenSamples() const {
    std::uint64_t count = 0;
    for (const float* channel : m_pointers) count += std::uint64_t(std::count_if(channel, channel + m_frames, isGuard));
    return count;
}

std::vector<float> ChannelBuffers::interleaved() const {
    std::vector<float> out(std::size_t(m_frames) * m_channels);
    for (std::uint32_t c = 0; c < m_channels; ++c)
        for (std::uint32_t f = 0; f < m_frames; ++f) out[std::size_t(f) * m_channels + c] = m_pointers[c][f];
    return out;
}

}  // namespace norvikhost
