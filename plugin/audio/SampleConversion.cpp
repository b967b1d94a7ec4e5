#include "audio/SampleConversion.h"

#include <cstring>

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

// Float samples are already what the host wants: each 32-bit value is copied as it is.
void uninterleaveFloats(const uint8_t* source, float** channels, uint32_t channelCount, uint32_t frames) {
    for (uint32_t f = 0; f < frames; ++f)
        for (uint32_t c = 0; c < channelCount; ++c, source += sizeof(float))
            std::memcpy(channels[c] + f, source, sizeof(float));
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
    if (sampleType == kPrAudioSampleType_8BitInt) {
        // Unsigned to signed: adding 128 modulo 256 flips the top bit.
        const uint64_t count = uint64_t(frames) * channelCount;
        for (uint64_t i = 0; i < count; ++i) source[i] ^= 0x80;
    }
    return suiteConversion(sampleType, *suite)(source, channels, channelCount, frames);
}
