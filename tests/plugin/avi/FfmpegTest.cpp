// A file written by ffmpeg past 1 GiB, in AVIX forms: stream count, chunks per
// stream and byte totals agree with what ffprobe reads. (ffmpeg's files of every
// PCM width, and ffmpeg reading the AVI writer's, are endtoend_audio_test's.)
// Skipped where ffmpeg is not installed (e.g. under Wine).
#include <gtest/gtest.h>
#include <sstream>

#include "TestFiles.h"

using namespace avitest;

TEST(FfmpegFiles, OpenDmlFileLargerThanOneGigabyte) {
    if (hosttest::runChild("ffprobe", {"-version"}).exitCode != 0) GTEST_SKIP() << "ffmpeg not available";
    // 640x480 BGR frames of 921,600 bytes: 1,300 frames make about 1.2 GB, so
    // ffmpeg closes the first form and continues in AVIX forms.
    TempDir dir;
    const auto clip = dir.path() / "large.avi";
    std::vector<std::string> args;
    std::istringstream words(
        "-v error -f lavfi -i testsrc=size=640x480:rate=25 -f lavfi -i sine=sample_rate=44100 -frames:v 1300 -t 52 "
        "-c:v rawvideo -pix_fmt bgr24 -c:a pcm_s16le");
    for (std::string word; words >> word;) args.push_back(word);
    args.push_back(utf8(clip));
    ASSERT_EQ(hosttest::runChild("ffmpeg", args).exitCode, 0);
    ASSERT_GT(std::filesystem::file_size(clip), uint64_t(1) << 30);
    // Packets and bytes per stream as ffprobe reads them.
    std::istringstream packets(hosttest::runChild("ffprobe", {"-v", "error", "-show_entries",
                                                              "packet=stream_index,size", "-of", "csv=p=0", utf8(clip)})
                                   .output);
    std::vector<std::pair<uint64_t, uint64_t>> expected;
    for (std::string index, size; std::getline(packets, index, ',') && std::getline(packets, size);) {
        expected.resize(std::max<size_t>(expected.size(), std::stoul(index) + 1));
        ++expected[std::stoul(index)].first;
        expected[std::stoul(index)].second += std::stoull(size);
    }
    ASSERT_FALSE(expected.empty());
    AviParser p;
    ASSERT_TRUE(parseFile(clip, p)) << p.errorText;
    EXPECT_EQ(p.errorText, "");
    ASSERT_EQ(p.streams.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(p.streams[i]->frames().size(), expected[i].first) << "stream " << i;
        EXPECT_EQ(p.streams[i]->totalBytes(), expected[i].second) << "stream " << i;
    }
    EXPECT_TRUE(p.streams[0]->odmlIndexComplete);
    EXPECT_GT(p.streams[0]->standardIndexes.size(), 1u);
}
