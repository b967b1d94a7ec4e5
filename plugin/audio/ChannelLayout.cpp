#include "audio/ChannelLayout.h"

#include <algorithm>

using namespace prsdk;

namespace {

// Host label of each speaker bit of a wave format's channel mask, bit 0 first.
constexpr PrAudioChannelLabel kSpeakerLabels[] = {
    kPrAudioChannelLabel_FrontLeft,         kPrAudioChannelLabel_FrontRight,         kPrAudioChannelLabel_FrontCenter,
    kPrAudioChannelLabel_LowFrequency,      kPrAudioChannelLabel_BackLeft,           kPrAudioChannelLabel_BackRight,
    kPrAudioChannelLabel_FrontLeftOfCenter, kPrAudioChannelLabel_FrontRightOfCenter, kPrAudioChannelLabel_BackCenter,
    kPrAudioChannelLabel_SideLeft,          kPrAudioChannelLabel_SideRight,          kPrAudioChannelLabel_TopCenter,
    kPrAudioChannelLabel_TopFrontLeft,      kPrAudioChannelLabel_TopFrontCenter,     kPrAudioChannelLabel_TopFrontRight,
    kPrAudioChannelLabel_TopBackLeft,       kPrAudioChannelLabel_TopBackCenter,      kPrAudioChannelLabel_TopBackRight,
};
constexpr uint32_t kSpeakerBits = sizeof(kSpeakerLabels) / sizeof(kSpeakerLabels[0]);

}  // namespace

uint32_t speakerMask(const WaveFormat& format) {
    if (format.wFormatTag == kWaveFormatExtensible) return format.dwChannelMask;
    const uint32_t channels = std::min<uint32_t>(format.nChannels, 32);
    return channels == 2 || channels == 6 ? 0xFFFFFFFFu : 0u;
}

uint32_t fillChannelLabels(const WaveFormat& format, PrAudioChannelLabel labels[32]) {
    const uint32_t channels = std::min<uint32_t>(format.nChannels, 32);
    const uint32_t mask = speakerMask(format);
    uint32_t filled = 0;
    for (uint32_t bit = 0; bit < 32 && filled < channels; ++bit)
        if (mask & (1u << bit))
            labels[filled++] = bit < kSpeakerBits ? kSpeakerLabels[bit] : kPrAudioChannelLabel_Discrete;
    return filled;
}
