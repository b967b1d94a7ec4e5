// Clips from the clip maker carry the stream block, decodable frames equal to the
// synthetic pictures, empty chunks where asked, and audio interleaved per frame.
// (The samples of audio files are MkclipInput's; synthetic tones only need to be
// the same on every run.)
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "ClipMaker.h"
#include "CodecHelpers.h"
#include "RiffChunks.h"

using namespace norvik_test;

using riff_test::chunkData;
using riff_test::readFile;

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

    const auto video = chunkData(file, "00dc");
    ASSERT_EQ(video.size(), 4u);
    EXPECT_TRUE(video[2].empty());
    const auto block = clipmaker::streamFormatBlock(plan);
    ASSERT_NE(std::search(file.begin(), file.end(), block.begin(), block.end()), file.end());
    Handle h;
    for (uint32_t i : {0u, 3u}) {
        Picture back = makePicture(123, 48, 32, 0);
        ASSERT_EQ(decodePlanar(h.get(), block, video[i], back), NORVIK_OK);
        const clipmaker::Frame want = clipmaker::syntheticFrame(123, 48, 32, i);
        for (int p = 0; p < 3; ++p) EXPECT_EQ(back.planes[p], want.planes[p]) << "frame " << i << " plane " << p;
    }

    const auto audio = chunkData(file, "01wb");
    ASSERT_EQ(audio.size(), 4u);
    EXPECT_EQ(audio[0].size(), clipmaker::audioFramesBefore(plan, plan.audio[0], 1) * 6);
}
