// A file written by ffmpeg past 1 GiB, in AVIX forms: stream count, chunks per
// stream and byte totals agree with what ffprobe reads. (ffmpeg's files of every
// PCM width, and ffmpeg reading the AVI writer's, are endtoend_audio_test's.)
// Skipped where ffmpeg is not installed (e.g. under Wine).
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

#include "TestFiles.h"

using namespace avitest;

namespace {

std::string quoted(const std::filesystem::path& p) { return '"' + utf8(p) + '"'; }

// Runs the command; true when it exits with 0.
bool run(const std::string& command) { return std::system(command.c_str()) == 0; }

// Packets and bytes per stream as ffprobe reads them (empty when it cannot).
std::vector<std::pair<uint64_t, uint64_t>> probe(const std::filesystem::path& clip, const std::filesystem::path& out) {
    std::vector<std::pair<uint64_t, uint64_t>> streams;
    if (!run("ffprobe -v error -show_entries packet=stream_index,size -of csv=p=0 " + quoted(clip) + " > " +
             quoted(out)))
        return streams;
    std::ifstream packets(out);
    for (std::string index, size; std::getline(packets, index, ',') && std::getline(packets, size);) {
        streams.resize(std::max<size_t>(streams.size(), std::stoul(index) + 1));
        ++streams[std::stoul(index)].first;
        streams[std::stoul(index)].second += std::stoull(size);
    }
    return streams;
}

}  // namespace

TEST(FfmpegFiles, OpenDmlFileLargerThanOneGigabyte) {
    TempDir dir;
    const auto version = quoted(dir.path() / "version.txt");
    if (!run("ffmpeg -version > " + version + " 2>&1") || !run("ffprobe -version > " + version + " 2>&1"))
        GTEST_SKIP() << "ffmpeg not available";
    // 640x480 BGR frames of 921,600 bytes: 1,300 frames make about 1.2 GB, so
    // ffmpeg closes the first form and continues in AVIX forms.
    const auto clip = dir.path() / "large.avi";
    ASSERT_TRUE(
        run("ffmpeg -v error -f lavfi -i testsrc=size=640x480:rate=25 -f lavfi "
            "-i sine=sample_rate=44100 -frames:v 1300 -t 52 -c:v rawvideo -pix_fmt bgr24 "
            "-c:a pcm_s16le " +
            quoted(clip)));
    ASSERT_GT(std::filesystem::file_size(clip), uint64_t(1) << 30);
    const auto expected = probe(clip, dir.path() / "packets.txt");
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
