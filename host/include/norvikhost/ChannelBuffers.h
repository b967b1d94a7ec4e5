// The float buffers a host hands to imImportAudio7: one per channel, laid out one
// after another in one block with kGuardFloats guard values before the first
// channel and after every channel. The guards hold a NaN bit pattern no
// conversion produces by chance, so a module that writes outside the samples it
// was asked for is caught by guardsIntact(). The samples start as the same
// pattern, so a sample left unwritten shows too (unwrittenSamples()).
// Not thread-safe.
#pragma once

#include <cstdint>
#include <vector>

namespace norvikhost {

constexpr std::uint32_t kGuardFloats = 16;
constexpr std::uint32_t kGuardBits = 0x7FC5A5A5u;  // a quiet NaN with a payload of its own

class ChannelBuffers {
public:
    ChannelBuffers(std::uint32_t channels, std::uint32_t frames);

    // One pointer per channel, as imImportAudioRec7.buffer wants them (null when
    // there are no channels).
    float** pointers() { return m_pointers.empty() ? nullptr : m_pointers.data(); }
    const float* channel(std::uint32_t c) const { return m_pointers[c]; }
    std::uint32_t channels() const { return m_channels; }
    std::uint32_t frames() const { return m_frames; }

    bool guardsIntact() const;
    // Samples that still hold the guard pattern.
    std::uint64_t unwrittenSamples() const;
    // The samples frame by frame, channel by channel within a frame.
    std::vector<float> interleaved() const;

private:
    std::uint32_t m_channels;
    std::uint32_t m_frames;
    std::vector<float> m_block;  // guard, channel 0, guard, channel 1, ..., guard
    std::vector<float*> m_pointers;
};

}  // namespace norvikhost
