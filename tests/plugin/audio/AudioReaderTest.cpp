// The audio reader on streams laid out by hand: chunks of odd sizes (one empty)
// with junk between them and a partial last frame, every sample type, pieces of
// every size, seeks that fail, and requests a host should never make. The host's
// channel buffers carry guard floats, checked after every request.
#include <cmath>
#include <gtest/gtest.h>
#include <random>

#include "TestFiles.h"
#include "audio/AudioReader.h"
#include "audio/ChannelLayout.h"
#include "norvikhost/ChannelBuffers.h"
#include "norvikhost/Host.h"

using namespace prsdk;
using avitest::Bytes;
using norvikhost::ChannelBuffers;

namespace {

uint16_t bitsOf(uint32_t type) { return type == 1 ? 8 : type == 3 ? 16 : type == 4 ? 24 : 32; }

// A stream of random sample bytes in chunks of the given sizes (the last chunk
// takes the rest), each stored after three junk bytes.
struct Stream {
    Stream(uint32_t type, uint16_t channels, uint64_t bytes, std::vector<uint32_t> chunks) {
        std::mt19937 random(type * 100 + channels);
        for (uint64_t i = 0; i < bytes; ++i) data.push_back(uint8_t(random()));
        chunks.push_back(uint32_t(bytes));
        for (uint64_t at = 0, k = 0; at < bytes || k == 0; ++k) {
            const uint32_t size = uint32_t(std::min<uint64_t>(chunks[k], bytes - at));
            file.insert(file.end(), {0xEE, 0xEE, 0xEE});
            stream.legacyFrames.push_back({file.size(), at, size, true});
            file.insert(file.end(), data.begin() + ptrdiff_t(at), data.begin() + ptrdiff_t(at + size));
            at += size;
        }
        stream.format = aviwriter::pcmAudioStream(channels, 48000, bitsOf(type), type == 6).format;
        EXPECT_EQ(audio.init(stream), 0);
    }
    AviStream stream;
    AudioInfo audio;
    AudioCursor cursor;
    Bytes data;
    Bytes file;
};

const AudioSuiteSource& hostSuite() {
    static const AudioSuiteSource source = []() -> const PrSDKAudioSuite& {
        return *static_cast<const PrSDKAudioSuite*>(norvikhost::findSuiteTable(kPrSDKAudioSuite, 1));
    };
    return source;
}

struct Delivery {
    int32_t result;
    ChannelBuffers buffers;
};

Delivery deliver(AudioInfo& audio, AudioCursor& cursor, fileio::File& file, int64_t position, uint32_t size,
                 uint64_t piece = kAudioPieceBytes) {
    ChannelBuffers buffers(audio.waveFormat.nChannels, size);
    imImportAudioRec7 request{};
    request.position = position;
    request.size = size;
    request.buffer = buffers.pointers();
    const int32_t result = importAudio(audio, cursor, file, hostSuite(), request, piece);
    EXPECT_TRUE(buffers.guardsIntact()) << "position " << position << ", size " << size;
    return {result, std::move(buffers)};
}

// What the host must get for a sample: the file's first `available` bytes of the
// stream, a partial last frame completed with silence, and 0 after them.
float expected(const Stream& s, uint64_t available, int64_t frame, uint32_t channel) {
    const uint32_t type = s.audio.sampleType, bytes = bitsOf(type) / 8u;
    const uint64_t at = uint64_t(frame) * s.audio.waveFormat.nBlockAlign + channel * bytes;
    const uint64_t frameStart = uint64_t(frame) * s.audio.waveFormat.nBlockAlign;
    if (frameStart >= available) return 0.0f;
    uint8_t b[4] = {};
    for (uint32_t i = 0; i < bytes; ++i) b[i] = at + i < available ? s.data[at + i] : type == 1 ? 0x80 : 0;
    if (type == 6) return std::bit_cast<float>(b[0] | b[1] << 8 | b[2] << 16 | uint32_t(b[3]) << 24);
    if (type == 1) return float(int(b[0]) - 128) / 128.0f;  // stored unsigned
    uint32_t raw = 0;
    for (uint32_t i = 0; i < bytes; ++i) raw |= uint32_t(b[i]) << (8 * (4 - bytes + i));
    return float(double(int32_t(raw)) / 2147483648.0);  // the sample at the top of 32 bits, over 2^31
}

void expectSamples(const Stream& s, const ChannelBuffers& got, int64_t start, uint64_t available) {
    for (uint32_t c = 0; c < got.channels(); ++c)
        for (uint32_t f = 0; f < got.frames(); ++f) {
            const float want = expected(s, available, start + f, c);
            ASSERT_EQ(std::bit_cast<uint32_t>(got.channel(c)[f]), std::bit_cast<uint32_t>(want))
                << "type " << s.audio.sampleType << ", frame " << start + f << ", channel " << c;
        }
}

}  // namespace

TEST(AudioReader, DeliversEveryTypeAcrossChunksAndPiecesThenSilence) {
    for (uint32_t type : {1u, 3u, 4u, 5u, 6u})
        for (uint16_t channels : {1, 3}) {
            const uint32_t frameBytes = channels * bitsOf(type) / 8u;
            Stream s(type, channels, 40 * frameBytes + 2, {7, 0, 50, frameBytes, 3});
            avitest::MemoryFile file(s.file);
            for (uint64_t piece : {uint64_t(1), uint64_t(5 * frameBytes), kAudioPieceBytes}) {
                int64_t next = 0;  // positions of -1 continue where the last request ended
                using Ask = std::pair<int64_t, uint32_t>;
                for (const auto& [position, size] : {Ask{0, 30}, {-1, 7}, {13, 3}, {38, 10}, {1000, 5}, {-1, 0}}) {
                    const int64_t start = position < 0 ? next : position;
                    const Delivery d = deliver(s.audio, s.cursor, file, position, size, piece);
                    EXPECT_EQ(d.result, imNoErr);
                    EXPECT_EQ(d.buffers.unwrittenSamples(), 0u);
                    expectSamples(s, d.buffers, start, s.data.size());
                    next = start + size;
                    EXPECT_EQ(s.cursor.position(), next);
                }
            }
        }
}

TEST(AudioReader, HostileRequestsAndDescriptionsStayInsideTheBuffers) {
    Stream s(5, 2, 8 * 1000, {4000});
    avitest::MemoryFile file(s.file);
    // Past any data: nothing allocated, all silence, positions saturate.
    for (int64_t position : {INT64_MAX, INT64_MAX / 3, int64_t(1) << 40}) {
        const Delivery d = deliver(s.audio, s.cursor, file, position, 1 << 16);
        EXPECT_EQ(d.result, imNoErr);
        expectSamples(s, d.buffers, 0, 0);
    }
    EXPECT_EQ(s.cursor.position(), (int64_t(1) << 40) + (1 << 16));
    EXPECT_TRUE(s.cursor.conversionBuffer().empty());
    deliver(s.audio, s.cursor, file, INT64_MAX - 5, 100);
    EXPECT_EQ(s.cursor.position(), INT64_MAX);
    // A request far larger than the data allocates what the data fills, no more.
    expectSamples(s, deliver(s.audio, s.cursor, file, 990, 1 << 16).buffers, 990, s.data.size());
    EXPECT_EQ(s.cursor.conversionBuffer().size(), 80u);
    // A chunk the file cannot seek to is silence, and the answer is 0. (A read cut
    // short is AudioImport.AFileCutWhileQuietGivesSilenceWhereItEndsAndAnswersZero.)
    s.stream.legacyFrames[1].offset = uint64_t(1) << 63;
    const Delivery cut = deliver(s.audio, s.cursor, file, 0, 1000);
    EXPECT_EQ(cut.result, imNoErr);
    expectSamples(s, cut.buffers, 0, 4000);

    // Refusals write nothing and leave the position.
    s.audio.waveFormat.nBlockAlign = 4;  // disagrees with 2 channels of 32 bits
    EXPECT_EQ(deliver(s.audio, s.cursor, file, 0, 10).buffers.unwrittenSamples(), 20u);
    EXPECT_EQ(deliver(s.audio, s.cursor, file, 0, 10).result, imDecompressionError);
    s.audio.waveFormat.nBlockAlign = 8;
    ChannelBuffers one(1, 10);
    float* missing[2] = {one.pointers()[0], nullptr};
    imImportAudioRec7 request{};
    request.size = 10;
    request.buffer = missing;
    EXPECT_EQ(importAudio(s.audio, s.cursor, file, hostSuite(), request), imOtherErr);
    EXPECT_EQ(one.unwrittenSamples(), 10u);
    EXPECT_EQ(s.cursor.position(), 1000);
    s.audio.valid = false;
    EXPECT_EQ(deliver(s.audio, s.cursor, file, 0, 10).buffers.unwrittenSamples(), 20u);
}

// Plain 2, 6 and 4 channels, masks of fewer bits than channels and 32 channels
// with every bit are shown through the module (endtoend_audio_test); here a mask
// with gaps: each channel takes the label of the next set bit.
TEST(ChannelLayout, LabelsFollowTheMaskBitsFromTheLowest) {
    WaveFormat w{};
    w.wFormatTag = kWaveFormatExtensible;
    w.nChannels = 4;
    w.dwChannelMask = 0x80025100;  // bits 8, 12, 14, 17 and 31 (one past the channels)
    PrAudioChannelLabel labels[32];
    std::fill_n(labels, 32, 127);
    EXPECT_EQ(fillChannelLabels(w, labels), 4u);
    // back centre, top front left and right, top back right
    const PrAudioChannelLabel written[] = {106, 112, 113, 116};
    for (size_t i = 0; i < 32; ++i) EXPECT_EQ(labels[i], i < 4 ? written[i] : 127) << "label " << i;
}
