// Audio through the loaded importer module, pulled as the host pulls it (guard
// floats around every channel buffer, checked after every request): bit-exact
// against ffmpeg's decoding for every sample width, channel count and wave
// format, also for a file ffmpeg wrote; positions and lengths; a file cut while
// the clip was quiet; a request whose byte size passes 4 GiB; channel layouts.
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

#include "ClipFixtures.h"
#include "norvikhost/AudioClip.h"
#include "norvikhost/ChannelBuffers.h"
#include "norvikhost/Host.h"

namespace fs = std::filesystem;
using namespace norvikhost;
using namespace prsdk;
using clipmaker::AudioPlan;

namespace {

using endtoend::utf8;

class AudioImport : public ::testing::Test {
protected:
    void SetUp() override {
        hosttest::processProfile();  // the log switch is off
        ASSERT_EQ(driver.init().result, imNoErr);
    }
    void TearDown() override { driver.shutdown(); }

    fs::path makeClip(const std::string& name, std::vector<AudioPlan> audio, std::uint32_t frames = 12) {
        clipmaker::ClipPlan plan = endtoend::smallPlan(104, frames);
        plan.audio = std::move(audio);
        const fs::path path = folder.path() / name;
        clipmaker::makeClip(utf8(path), plan);
        return path;
    }

    // Every sample of a host stream, played in blocks of `block` frames.
    std::vector<float> play(const fs::path& clip, std::int32_t stream, std::uint32_t block = 1000) {
        AudioClip audio(driver, clip, stream);
        EXPECT_TRUE(audio.ready()) << clip << " stream " << stream;
        std::vector<float> all;
        EXPECT_TRUE(playAudio(audio, block,
                              [&](const AudioBlock& b) {
                                  EXPECT_EQ(b.unwritten, 0u);
                                  all.insert(all.end(), b.samples.begin(), b.samples.end());
                              }))
            << clip << " stream " << stream;
        return all;
    }

    // ffmpeg's decoding of the clip's first `count` audio streams as 32-bit floats, in one run.
    std::vector<std::vector<float>> ffmpegFloats(const fs::path& clip, int count) {
        const auto f32 = [&](int j) { return folder.path() / ("stream" + std::to_string(j) + ".f32"); };
        std::string arguments = "-i \"" + utf8(clip) + "\"";
        for (int j = 0; j < count; ++j)
            arguments += " -map 0:a:" + std::to_string(j) + " -f f32le \"" + utf8(f32(j)) + "\"";
        auto streams = std::vector<std::vector<float>>(std::size_t(count));
        if (!ffmpeg(arguments)) return streams;
        for (int j = 0; j < count; ++j) {
            const std::string bytes = hosttest::readFile(f32(j));
            std::vector<float>& floats = streams[std::size_t(j)];
            floats.resize(bytes.size() / sizeof(float));
            std::memcpy(floats.data(), bytes.data(), floats.size() * sizeof(float));
        }
        return streams;
    }

    bool ffmpeg(const std::string& arguments) { return std::system(("ffmpeg -v error -y " + arguments).c_str()) == 0; }

    endtoend::TempFolder folder;
    Host host;
    ImporterDriver driver{host, endtoend::modulePath()};
};

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

}  // namespace

// The host converts an integer sample to the signed sample over 2^(bits-1);
// ffmpeg's conversion to f32le gives the same floats for 8, 16, 24 and 32 bits,
// so every width is compared with ffmpeg itself.
TEST_F(AudioImport, EveryWidthLayoutAndWriterMatchesFfmpegBitForBit) {
    if (std::system("ffmpeg -version > " NORVIK_NULL_DEVICE " 2>&1") != 0) GTEST_SKIP() << "no ffmpeg here";
    const std::vector<AudioPlan> streams = {{1, 48000, 8, false, false},  {8, 8000, 8, false, true},
                                            {2, 48000, 16, false, false}, {32, 8000, 16, false, true},
                                            {3, 44100, 24, false, false}, {6, 44100, 24, false, true},
                                            {1, 48000, 32, false, false}, {32, 8000, 32, false, true},
                                            {3, 48000, 32, true, false},  {2, 22050, 32, true, true}};
    const fs::path ours = makeClip("ours.avi", streams);
    // Audio that ffmpeg encodes and lays out itself (its own index and chunks, extensible
    // headers with its own masks).
    const fs::path muxed = folder.path() / "muxed.avi";
    const std::string tone = "-f lavfi -i \"aevalsrc=0.9*sin(440*2*PI*t)+0.05*random(0):s=44100:d=0.5\" ";
    ASSERT_TRUE(ffmpeg("-i \"" + utf8(ours) + "\" " + tone + tone + tone +
                       "-map 0:v -map 1:a -map 2:a -map 3:a -c:v copy -c:a:0 pcm_s24le -ac:a:0 6 -c:a:1 pcm_s32le "
                       "-ac:a:1 8 -c:a:2 pcm_f32le -ac:a:2 3 \"" +
                       utf8(muxed) + "\""));
    for (const auto& [clip, count] : {std::pair{ours, 10}, std::pair{muxed, 3}}) {
        const std::vector<std::vector<float>> reference = ffmpegFloats(clip, count);
        for (int j = 0; j < count; ++j) {
            ASSERT_FALSE(reference[std::size_t(j)].empty()) << clip << " stream " << j;
            EXPECT_TRUE(sameBits(play(clip, j, 777), reference[std::size_t(j)])) << clip.filename() << " stream " << j;
        }
    }
}

TEST_F(AudioImport, PositionsAndLengthsAsPlayingAndScrubbingAskThem) {
    const fs::path clip = makeClip("positions.avi", {{2, 48000, 16, false, false}, {3, 8000, 8, false, true}});
    for (std::int32_t stream : {0, 1}) {
        const std::vector<float> all = play(clip, stream);
        AudioClip audio(driver, clip, stream);
        const std::uint32_t channels = audio.channels();
        const auto window = [&](std::int64_t position, std::uint32_t size) {
            std::vector<float> want(std::size_t(size) * channels, 0.0f);
            for (std::size_t i = 0; i < want.size() && position * channels + i < all.size(); ++i)
                want[i] = all[std::size_t(position) * channels + i];
            return want;
        };
        EXPECT_TRUE(sameBits(audio.request(0, 1000).samples, window(0, 1000)));
        const AudioBlock nothing = audio.request(-1, 0);
        EXPECT_EQ(nothing.result, imNoErr);
        EXPECT_TRUE(nothing.guardsIntact);
        EXPECT_TRUE(sameBits(audio.request(-1, 500).samples, window(1000, 500))) << "continues at 1000";
        const auto end = std::int64_t(all.size() / channels);
        EXPECT_TRUE(sameBits(audio.request(end - 10, 100).samples, window(end - 10, 100))) << "past the end: silence";
        for (const AudioBlock& b : scrubAudio(audio, 60, 3000, 7)) {
            EXPECT_EQ(b.result, imNoErr);
            EXPECT_TRUE(b.guardsIntact);
            EXPECT_TRUE(sameBits(b.samples, window(b.position, b.size))) << b.position << " + " << b.size;
        }
    }
}

// The host quiets a clip, the file is cut meanwhile, and the host opens it again
// (the session keeps what it parsed): what the file has lost is silence.
TEST_F(AudioImport, AFileCutWhileQuietGivesSilenceWhereItEndsAndAnswersZero) {
    const fs::path clip = makeClip("cut.avi", {{2, 48000, 16, false, false}}, 25);
    const std::vector<float> all = play(clip, 0);
    AudioClip audio(driver, clip, 0);
    ASSERT_EQ(audio.quiet(), imNoErr);
    fs::resize_file(clip, fs::file_size(clip) / 2);
    ASSERT_EQ(audio.reopen(), imNoErr);
    const AudioBlock block = audio.request(0, std::uint32_t(all.size() / 2));
    EXPECT_EQ(block.result, imNoErr);
    EXPECT_TRUE(block.guardsIntact);
    std::size_t kept = 0;
    while (kept < all.size() && block.samples[kept] == all[kept]) ++kept;
    kept -= kept % 2;  // the cut may fall inside a frame
    EXPECT_GT(kept, 0u);
    EXPECT_LT(kept, all.size() / 2);
    for (std::size_t i = kept + 2; i < block.samples.size(); ++i) ASSERT_EQ(block.samples[i], 0.0f) << "sample " << i;
}

// 32 channels of 32 bits, 2^25 + 1 frames: 4 GiB + 128 bytes, which a 32-bit
// byte count would take for 128. The 32 channel pointers share one buffer, so
// the host needs 128 MiB; what ends there is channel 31's samples, then silence.
TEST_F(AudioImport, ARequestOfMoreThanFourGibibytesIsDeliveredWhole) {
    const fs::path clip = makeClip("wide.avi", {{32, 8000, 32, false, true}}, 2);
    const std::vector<float> all = play(clip, 0);
    AudioClip audio(driver, clip, 0);
    const std::uint32_t frames = (1u << 25) + 1;
    ChannelBuffers shared(1, frames);
    std::vector<float*> pointers(32, shared.pointers()[0]);
    imImportAudioRec7 request{};
    request.size = frames;
    request.buffer = pointers.data();
    request.privateData = audio.session();
    EXPECT_EQ(driver.call(imImportAudio7, nullptr, &request), imNoErr);
    EXPECT_TRUE(shared.guardsIntact());
    const std::size_t dataFrames = all.size() / 32;
    for (std::size_t f = 0; f < dataFrames; ++f) ASSERT_EQ(shared.channel(0)[f], all[f * 32 + 31]) << f;
    EXPECT_EQ(shared.channel(0)[dataFrames], 0.0f);
    EXPECT_EQ(shared.channel(0)[frames - 1], 0.0f);
}

TEST_F(AudioImport, ChannelLayoutsKeepTheHostsLabelsWhereTheyNameNone) {
    using clipmaker::waveFormat;
    const fs::path clip = folder.path() / "layouts.avi";
    endtoend::writeRawClip(
        clip, {.audioFormats = {waveFormat({2, 48000, 16, false, false}), waveFormat({6, 48000, 16, false, false}),
                                waveFormat({4, 48000, 16, false, false}), waveFormat({8, 48000, 16, false, true}, 0x3F),
                                waveFormat({32, 48000, 16, false, true}, 0xFFFFFFFF),
                                waveFormat({2, 48000, 16, true, false})},
               .audioBytes = 4096});
    const std::vector<std::vector<PrAudioChannelLabel>> written = {
        {100, 101},
        {100, 101, 102, 103, 104, 105},
        {},
        {100, 101, 102, 103, 104, 105},
        {100, 101, 102, 103, 104, 105, 107, 108, 106, 109, 110, 111, 112, 114, 113, 115,
         117, 116, 0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0}};
    for (std::size_t k = 0; k < written.size(); ++k) {
        AudioClip audio(driver, clip, std::int32_t(k), 127);
        EXPECT_EQ(audio.info().layoutResult, imNoErr) << "stream " << k;
        for (std::size_t i = 0; i < 32; ++i)
            EXPECT_EQ(audio.info().labels[i], i < written[k].size() ? written[k][i] : 127) << k << ": " << i;
    }
    // 16-bit float is refused when described: no layout, and requests write nothing.
    AudioClip refused(driver, clip, 5, 127);
    EXPECT_EQ(refused.info().layoutResult, imUnsupported);
    const AudioBlock block = refused.request(0, 10);
    EXPECT_EQ(block.result, imNoErr);
    EXPECT_EQ(block.unwritten, block.samples.size());
}
