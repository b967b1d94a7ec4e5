// A file written by ffmpeg past 1 GiB, in AVIX forms: stream count, chunks per
// stream and byte totals agree with what ffprobe reads. (ffmpeg's files of every
// PCM width, and ffmpeg reading the AVI writer's, are endtoend_audio_test's.)
// Skipped where ffmpeg is not installed (e.g. under Wine).
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "TestFiles.h"

using namespace avitest;

namespace {

std::string quoted(const std::filesystem::path& p) {
    std::string q(1, '"');
    q += utf8(p);
    q += '"';
    return q;
}

// Runs the command made of the pieces; true when it exits with 0.
bool run(std::initializer_list<std::string> pieces) {
    std::string command;
    for (const std::string& piece : pieces) command += piece;
    return std::system(command.c_str()) == 0;
}

bool haveFfmpeg(const TempDir& dir) {
    const auto out = quoted(dir.path() / "version.txt");
    return run({"ffmpeg -version > ", out, " 2>&1"}) && run({"ffprobe -version > ", out, " 2>&1"});
}

// Packets and bytes per stream as ffprobe reads them.
struct ProbeStream {
    uint64_t packets = 0;
    uint64_t bytes = 0;
};

std::vector<ProbeStream> probe(const TempDir& dir, const std::filesystem::path& clip) {
    const auto counts = dir.path() / "counts.txt", sizes = dir.path() / "sizes.txt";
    std::vector<ProbeStream> streams;
    if (!run({"ffprobe -v error -count_packets -show_entries stream=nb_read_packets -of csv=p=0 ", quoted(clip), " > ",
              quoted(counts)}) ||
        !run({"ffprobe -v error -show_entries packet=stream_index,size -of csv=p=0 ", quoted(clip), " > ",
              quoted(sizes)}))
        return streams;
    std::ifstream c(counts);
    for (std::string line; std::getline(c, line);)
        if (!line.empty()) streams.push_back({std::stoull(line), 0});
    std::ifstream s(sizes);
    for (std::string line; std::getline(s, line);) {
        std::istringstream fields(line);
        std::string index, size;
        if (std::getline(fields, index, ',') && std::getline(fields, size) && std::stoul(index) < streams.size())
            streams[std::stoul(index)].bytes += std::stoull(size);
    }
    return streams;
}

void expectSameAsProbe(const TempDir& dir, const std::filesystem::path& clip) {
    const auto expected = probe(dir, clip);
    ASSERT_FALSE(expected.empty());
    AviParser p;
    ASSERT_TRUE(parseFile(clip, p)) << p.errorText;
    EXPECT_EQ(p.errorText, "");
    ASSERT_EQ(p.streams.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(p.streams[i]->frames().size(), expected[i].packets) << "stream " << i;
        EXPECT_EQ(p.streams[i]->totalBytes(), expected[i].bytes) << "stream " << i;
    }
}

}  // namespace

TEST(FfmpegFiles, OpenDmlFileLargerThanOneGigabyte) {
    TempDir dir;
    if (!haveFfmpeg(dir)) GTEST_SKIP() << "ffmpeg not available";
    // 640x480 BGR frames of 921,600 bytes: 1,300 frames make about 1.2 GB, so
    // ffmpeg closes the first form and continues in AVIX forms.
    const auto clip = dir.path() / "large.avi";
    ASSERT_TRUE(
        run({"ffmpeg -v error -f lavfi -i testsrc=size=640x480:rate=25 -f lavfi "
             "-i sine=sample_rate=44100 -frames:v 1300 -t 52 -c:v rawvideo -pix_fmt bgr24 "
             "-c:a pcm_s16le ",
             quoted(clip)}));
    ASSERT_GT(std::filesystem::file_size(clip), uint64_t(1) << 30);
    expectSameAsProbe(dir, clip);
    AviParser p;
    ASSERT_TRUE(parseFile(clip, p));
    EXPECT_TRUE(p.streams[0]->odmlIndexComplete);
    EXPECT_GT(p.streams[0]->standardIndexes.size(), 1u);
}
