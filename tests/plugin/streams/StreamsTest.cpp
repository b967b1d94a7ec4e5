// Frame rates and audio formats as the stream descriptions read them.
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

#include "streams/AudioInfo.h"
#include "streams/FrameRate.h"

namespace {

struct RateCase {
    int32_t rate, scale;
    int64_t frames;
    int32_t numerator, denominator;
    bool invalid, adjusted;
};

}  // namespace

// The rates and guards of whole clips are in the golden texts (rate-*, duration-guard-*).
TEST(FrameRate, SnapsReducesAndGuards) {
    const RateCase cases[] = {
        {2398, 100, 100, 24000, 1001, false, false},
        {1199, 50, 100, 24000, 1001, false, false},
        {60000, 1000, 100, 60, 1, false, false},
        {12345, 1000, 100, 2469, 200, false, false},  // 12.345: kept, reduced
        {0, 0, 100, 30, 1, true, false},
        {0, 1001, 100, 30, 1, true, false},
        {30000, 0, 100, 30, 1, true, false},
        {1, 201, 100, 30, 1, true, false},
        {25, 1, 2147483647, 25, 1, false, false},
        {25, 1, 2147483648LL, 24, 1, false, true},
        {0, 0, 3000000000LL, 21, 1, true, true},  // 30/1 stands in, then the duration guard
    };
    for (const RateCase& c : cases) {
        const FrameRate r = computeFrameRate(c.rate, c.scale, c.frames);
        EXPECT_EQ(r.numerator, c.numerator) << c.rate << "/" << c.scale << " x " << c.frames;
        EXPECT_EQ(r.denominator, c.denominator) << c.rate << "/" << c.scale << " x " << c.frames;
        EXPECT_EQ(r.invalid, c.invalid) << c.rate << "/" << c.scale;
        EXPECT_EQ(r.durationAdjusted, c.adjusted) << c.rate << "/" << c.scale << " x " << c.frames;
    }
}

TEST(FrameRate, HostileHeadersNeverTrapOrDivideByZero) {
    const int32_t words[] = {0, 1, -1, 2, 3, 1000, 1001, INT32_MAX, INT32_MIN, INT32_MIN + 1};
    for (int32_t rate : words)
        for (int32_t scale : words)
            for (int64_t frames : {int64_t{0}, int64_t{1}, int64_t{3000000000}}) {
                const FrameRate r = computeFrameRate(rate, scale, frames);
                EXPECT_NE(r.numerator, 0) << rate << "/" << scale;
                EXPECT_NE(r.denominator, 0) << rate << "/" << scale;
            }
}

namespace {

// An audio stream whose format chunk holds `bytes`.
AviStream audioStream(const std::vector<uint8_t>& bytes, uint32_t length = 48000) {
    AviStream stream;
    stream.format = bytes;
    std::memcpy(stream.header.data() + 32, &length, sizeof(length));
    return stream;
}

std::vector<uint8_t> waveFormat(uint16_t tag, uint16_t channels, uint16_t bits, uint16_t blockAlign,
                                const uint8_t* subFormat = nullptr, size_t size = 40) {
    WaveFormat w{};
    w.wFormatTag = tag;
    w.nChannels = channels;
    w.nSamplesPerSec = 48000;
    w.nBlockAlign = blockAlign;
    w.wBitsPerSample = bits;
    w.dwChannelMask = 0x3F;
    if (subFormat) std::memcpy(&w.SubFormat, subFormat, 16);
    std::vector<uint8_t> bytes(sizeof(w));
    std::memcpy(bytes.data(), &w, sizeof(w));
    bytes.resize(size);
    return bytes;
}

const uint8_t kFloatGuid[16] = {3, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xaa, 0, 0x38, 0x9b, 0x71};
const uint8_t kPcmGuid[16] = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xaa, 0, 0x38, 0x9b, 0x71};

struct AudioCase {
    std::vector<uint8_t> format;
    bool valid;
    uint32_t sampleType;
};

}  // namespace

// The formats of whole clips are in the golden texts (audio-*).
TEST(AudioInfoTest, AcceptsPlainAndExtensiblePcmAndFloatOnly) {
    const AudioCase cases[] = {
        {waveFormat(1, 2, 16, 4, nullptr, 16), true, 3},  // the 16-byte header: no channel mask
        {waveFormat(1, 6, 24, 18), true, 4},
        {waveFormat(3, 2, 32, 8), true, 6},
        {waveFormat(1, 0, 16, 0), true, 3},                      // no channels, no block: passes
        {waveFormat(0xFFFE, 2, 16, 4, kPcmGuid, 39), false, 0},  // extensible, cut: no sub-format
        {waveFormat(1, 2, 12, 4), false, 0},                     // odd sample size
        {waveFormat(1, 2, 16, 2), false, 0},                     // block align mismatch
        {waveFormat(3, 2, 24, 6), false, 0},                     // 24-bit float would be misread
        {waveFormat(1, 2, 16, 4, nullptr, 15), false, 0},        // too short
        {{}, false, 0},
    };
    int index = 0;
    for (const AudioCase& c : cases) {
        AudioInfo audio(nullptr);
        const AviStream stream = audioStream(c.format);
        EXPECT_EQ(audio.init(stream), c.valid ? 0 : 2) << "case " << index;
        EXPECT_EQ(audio.valid, c.valid) << "case " << index;
        EXPECT_EQ(audio.m_numAudioSampleFrames, 48000) << "case " << index;
        if (c.valid) {
            EXPECT_EQ(audio.sampleType, c.sampleType) << "case " << index;
        }
        ++index;
    }
    AudioInfo plain(nullptr);
    const AviStream sixteen = audioStream(waveFormat(1, 2, 16, 4, nullptr, 16));
    plain.init(sixteen);
    EXPECT_EQ(plain.waveFormat.dwChannelMask, 0u);
}

// Data1 to Data3 of the GUID are little-endian words in the file.
TEST(AudioInfoTest, GuidText) {
    AudioInfo audio(nullptr);
    const AviStream adpcm = audioStream(waveFormat(2, 2, 16, 4));
    audio.init(adpcm);
    EXPECT_EQ(guidToText(audio.formatGuid()), "00000002-0000-0010-8000-00aa00389b71");
    const AviStream extensible = audioStream(waveFormat(0xFFFE, 2, 32, 8, kFloatGuid));
    audio.init(extensible);
    EXPECT_EQ(guidToText(audio.formatGuid()), "00000003-0000-0010-8000-00aa00389b71");
}
