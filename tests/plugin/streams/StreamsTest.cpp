// Frame rates and audio formats as the stream descriptions read them.
#include <cstring>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

#include "streams/AudioInfo.h"
#include "streams/FrameRate.h"

// The rates and guards of whole clips (zero and tiny rates, snapping, reducing)
// are in the golden texts (rate-*, duration-guard-*); here their edges.
TEST(FrameRate, SnapsReducesAndGuards) {
    using Header = std::tuple<int32_t, int32_t, int64_t>;   // rate, scale, frames
    using Rate = std::tuple<int32_t, int32_t, bool, bool>;  // the rate, invalid, duration adjusted
    const std::pair<Header, Rate> cases[] = {
        {{2398, 100, 100}, {24000, 1001, false, false}},
        {{12345, 1000, 100}, {2469, 200, false, false}},  // 12.345: kept, reduced
        {{0, 0, 100}, {30, 1, true, false}},
        {{30000, 0, 100}, {30, 1, true, false}},
        {{1, 201, 100}, {30, 1, true, false}},
        {{25, 1, 2147483647}, {25, 1, false, false}},
        {{25, 1, 2147483648LL}, {24, 1, false, true}},
        {{0, 0, 3000000000LL}, {21, 1, true, true}},  // 30/1 stands in, then the duration guard
    };
    for (const auto& [header, expected] : cases) {
        const auto [rate, scale, frames] = header;
        const FrameRate r = computeFrameRate(rate, scale, frames);
        EXPECT_EQ(std::tuple(r.numerator, r.denominator, r.invalid, r.durationAdjusted), expected)
            << rate << "/" << scale << " x " << frames;
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
    stream.header.length = length;
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

}  // namespace

// The formats of whole clips (24-bit, float, extensible) are in the golden texts (audio-*).
TEST(AudioInfoTest, AcceptsPlainAndExtensiblePcmAndFloatOnly) {
    const std::pair<std::vector<uint8_t>, bool> cases[] = {
        // valid: 16-bit integer samples
        {waveFormat(1, 2, 16, 4, nullptr, 16), true},         // the 16-byte header: no channel mask
        {waveFormat(1, 0, 16, 0), true},  // no channels, no block: passes, and the host is told 0 channels
        {waveFormat(0xFFFE, 2, 16, 4, kPcmGuid, 39), false},  // extensible, cut: no sub-format
        {waveFormat(1, 2, 12, 4), false},                     // odd sample size
        {waveFormat(1, 2, 16, 2), false},                     // block align mismatch
        {waveFormat(3, 2, 24, 6), false},                     // 24-bit float would be misread
        {waveFormat(1, 2, 16, 4, nullptr, 15), false},        // too short
        {{}, false},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& [format, valid] = cases[i];
        AudioInfo audio;
        const AviStream stream = audioStream(format);
        EXPECT_EQ(audio.init(stream), valid ? 0 : 2) << "case " << i;
        EXPECT_EQ(audio.valid, valid) << "case " << i;
        EXPECT_EQ(audio.numSampleFrames, 48000) << "case " << i;
        if (valid) {
            EXPECT_EQ(audio.sampleType, 3u) << "case " << i;
            // The 16-byte header has no mask; the 40-byte one keeps its own.
            EXPECT_EQ(audio.waveFormat.dwChannelMask, i == 0 ? 0u : 0x3Fu) << "case " << i;
        }
    }
}

// Data1 to Data3 of the GUID are little-endian words in the file.
TEST(AudioInfoTest, GuidText) {
    AudioInfo audio;
    const AviStream adpcm = audioStream(waveFormat(2, 2, 16, 4));
    audio.init(adpcm);
    EXPECT_EQ(guidToText(audio.formatGuid()), "00000002-0000-0010-8000-00aa00389b71");
    const AviStream extensible = audioStream(waveFormat(0xFFFE, 2, 32, 8, kFloatGuid));
    audio.init(extensible);
    EXPECT_EQ(guidToText(audio.formatGuid()), "00000003-0000-0010-8000-00aa00389b71");
}
