// Clips from the clip maker carry the stream block, decodable frames equal to the
// synthetic pictures, empty chunks where asked, and the promised audio samples.
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "ClipMaker.h"
#include "CodecHelpers.h"

using namespace norvik_test;

namespace {

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

// The data chunks with this id inside movi, in file order (a plain scan: the
// clip's own data never holds a chunk id followed by a plausible size here).
std::vector<std::pair<size_t, uint32_t>> chunks(const std::vector<uint8_t>& file, const char* id) {
    std::vector<std::pair<size_t, uint32_t>> out;
    size_t movi = 0;
    for (size_t i = 0; i + 4 <= file.size(); ++i)
        if (std::memcmp(&file[i], "movi", 4) == 0) {
            movi = i + 4;
            break;
        }
    for (size_t at = movi; at + 8 <= file.size();) {
        const uint32_t size = le32(&file[at + 4]);
        if (std::memcmp(&file[at], "ix", 2) == 0 || std::memcmp(&file[at], "idx1", 4) == 0) break;
        if (std::memcmp(&file[at], id, 4) == 0) out.emplace_back(at + 8, size);
        at += 8 + size + (size & 1);
    }
    return out;
}

}  // namespace

TEST(ClipMaker, WritesDecodableFramesEmptyChunksAndAudio) {
    clipmaker::ClipSpec plan;
    plan.type = 123;
    plan.width = 48;
    plan.height = 32;
    plan.frames = 4;
    plan.rateNumerator = 30000;
    plan.rateDenominator = 1001;
    plan.emptyFrames = {2};
    plan.audio = {clipmaker::AudioSpec{2, 48000, 24, false, true}, clipmaker::AudioSpec{1, 8000, 8, false, false}};
    const std::string path = (std::filesystem::temp_directory_path() / "norvik_clip_maker_test.avi").string();
    clipmaker::makeClip(path, plan);
    const auto file = readFile(path);
    std::filesystem::remove(path);

    const auto video = chunks(file, "00dc");
    ASSERT_EQ(video.size(), 4u);
    EXPECT_EQ(video[2].second, 0u);
    const auto block = clipmaker::streamFormatBlock(plan);
    ASSERT_NE(std::search(file.begin(), file.end(), block.begin(), block.end()), file.end());
    Handle h;
    for (uint32_t i : {0u, 3u}) {
        const std::vector<uint8_t> frame(file.begin() + video[i].first,
                                         file.begin() + video[i].first + video[i].second);
        Picture back = makePicture(123, 48, 32, 0);
        ASSERT_EQ(decodePlanar(h.get(), block, frame, back), NORVIK_OK);
        const clipmaker::Frame want = clipmaker::syntheticFrame(123, 48, 32, i);
        for (int p = 0; p < 3; ++p) EXPECT_EQ(back.planes[p], want.planes[p]) << "frame " << i << " plane " << p;
    }

    const auto audio = chunks(file, "01wb");
    ASSERT_EQ(audio.size(), 4u);
    EXPECT_EQ(audio[0].second, clipmaker::audioFramesBefore(plan, plan.audio[0], 1) * 6);
    const uint8_t* s = &file[audio[0].first + 6 * 10 + 3];  // sample frame 10, channel 1
    int32_t v = s[0] | s[1] << 8 | s[2] << 16;
    if (v & 0x800000) v -= 1 << 24;
    EXPECT_EQ(v, std::lround(clipmaker::audioSample(plan.audio[0], 0, 1, 10) * 8388608.0));
    const auto mono8 = chunks(file, "02wb");
    ASSERT_FALSE(mono8.empty());
    EXPECT_EQ(file[mono8[0].first + 5], std::lround(clipmaker::audioSample(plan.audio[1], 1, 0, 5) * 128.0) + 128);
}

TEST(ClipMaker, RefusesImpossibleSpecs) {
    clipmaker::ClipSpec plan;
    plan.type = 105;
    plan.width = 33;
    EXPECT_NE(clipmaker::validate(plan), "");
    plan.width = 32;
    plan.audio = {clipmaker::AudioSpec{33, 48000, 16, false, false}};
    EXPECT_NE(clipmaker::validate(plan), "");
    plan.audio = {clipmaker::AudioSpec{2, 48000, 16, true, false}};
    EXPECT_NE(clipmaker::validate(plan), "");
    plan.audio.clear();
    EXPECT_EQ(clipmaker::validate(plan), "");
    EXPECT_THROW(clipmaker::makeClip("/nonexistent-dir/x.avi", plan), std::exception);
}
