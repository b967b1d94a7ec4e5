#include "audio/SampleConversion.h"

#include <cstring>

#include "platform/Compiler.h"

using namespace prsdk;

uint32_t bytesPerSample(uint32_t sampleType) {
    switch (sampleType) {
        case kPrAudioSampleType_8BitInt: return 1;
        case kPrAudioSampleType_16BitInt: return 2;
        case kPrAudioSampleType_24BitInt: return 3;
        case kPrAudioSampleType_32BitInt:
        case kPrAudioSampleType_32BitFloat: return 4;
        default: return 0;
    }
}

uint8_t silenceByte(uint32_t sampleType) { return sampleType == kPrAudioSampleType_8BitInt ? 0x80 : 0; }

namespace {

// Stereo floats, in a loop the compiler turns into vector shuffles.
void uninterleaveStereoFloats(const uint8_t* source, float* NORVIK_RESTRICT left, float* NORVIK_RESTRICT right, uint32_t frames) {
    for (uint32_t f = 0; f < frames; ++f, source += 2 * sizeof(float)) {
        std::memcpy(left + f, source, sizeof(float));
        std::memcpy(right + f, source + sizeof(float), sizeof(float));
    }
}

// Float samples are already what the host wants: each 32-bit value is copied as
// it is, channel by channel, so that each channel's buffer is written in order.
void uninterleaveFloats(const uint8_t* source, float** channels, uint32_t channelCount, uint32_t frames) {
    if (channelCount == 1) {
        std::memcpy(channels[0], source, size_t(frames) * sizeof(float));
        return;
    }
    if (channelCount == 2) {
        uninterleaveStereoFloats(source, channels[0], channels[1], frames);
        return;
    }
    const size_t stride = size_t(channelCount) * sizeof(float);
    for (uint32_t c = 0; c < channelCount; ++c) {
        float* to = channels[c];
        const uint8_t* from = source + c * sizeof(float);
        for (uint32_t f = 0; f < frames; ++f, from += stride) std::memcpy(to + f, from, sizeof(float));
    }
}

// Unsigned 8-bit samples to signed: adding 128 modulo 256 flips the top bit, here
// eight samples at a time.
void flipTopBits(uint8_t* samples, uint64_t count) {
    constexpr uint64_t kTopBits = 0x8080808080808080u;
    uint64_t i = 0;
    for (; i + sizeof(uint64_t) <= count; i += sizeof(uint64_t)) {
        uint64_t word;
        std::memcpy(&word, samples + i, sizeof word);
        word ^= kTopBits;
        std::memcpy(samples + i, &word, sizeof word);
    }
    for (; i < count; ++i) samples[i] ^= 0x80;
}

// The host's conversion for an integer sample type.
AudioUninterleaveFunc suiteConversion(uint32_t sampleType, const PrSDKAudioSuite& suite) {
    switch (sampleType) {
        case kPrAudioSampleType_8BitInt: return suite.UninterleaveAndConvertFrom8BitInteger;
        case kPrAudioSampleType_16BitInt: return suite.UninterleaveAndConvertFrom16BitInteger;
        case kPrAudioSampleType_24BitInt: return suite.UninterleaveAndConvertFrom24BitInteger;
        default: return suite.UninterleaveAndConvertFrom32BitInteger;
    }
}

}  // namespace

int32_t convertToFloat(uint32_t sampleType, const PrSDKAudioSuite* suite, uint8_t* source, float** channels,
                       uint32_t channelCount, uint32_t frames) {
    if (sampleType == kPrAudioSampleType_32BitFloat) {
        uninterleaveFloats(source, channels, channelCount, frames);
        return 0;
    }
    if (sampleType == kPrAudioSampleType_8BitInt) flipTopBits(source, uint64_t(frames) * channelCount);
    return suiteConversion(sampleType, *suite)(source, channels, channelCount, frames);
}
