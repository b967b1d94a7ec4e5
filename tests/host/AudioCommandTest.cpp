// norvik-import audio as a person runs it, through the real module: the listing
// of layouts and framemd5 lines is the same on every platform (a golden text
// kept in the tree; NORVIK_UPDATE_GOLDEN=1 rewrites it), --raw and --wav write
// the same samples, and the log shows each request as the importer read it.
#include <cstring>
#include <gtest/gtest.h>
#include <regex>
#include <set>

#include "ClipMaker.h"
#include "TestPlatform.h"

namespace fs = std::filesystem;
using hosttest::readFile;

namespace {

// 16-bit stereo, 24-bit 5.1 (extensible) and 8-bit mono, 0.4 s at 8 kHz. The clip
// maker rounds a sine to these widths; the platforms' sin() differ in their last
// bits, which changes floats (and could change 32-bit samples) but not these.
// (ffmpeg's framemd5 of the same streams with asetnsamples=n=1500 has the same lines.)
struct Clip {
    Clip() {
        clipmaker::ClipSpec plan;
        plan.width = 32;
        plan.height = 16;
        plan.frames = 10;
        plan.threads = 1;
        plan.audio = {{2, 8000, 16, false, false}, {6, 8000, 24, false, true}, {1, 8000, 8, false, false}};
        clipmaker::makeClip(path.string(), plan);
    }
    const hosttest::TempFolder folder;
    const fs::path path = folder.path() / "clip.avi";
};

hosttest::ChildResult runImport(const std::vector<std::string>& args, const hosttest::Environment& env = {}) {
    return hosttest::runChild(hosttest::programPath("norvik-import"), args, env);
}

}  // namespace

TEST(AudioCommand, ListsTheSameFramemd5LinesEverywhereAndWritesRawAndWav) {
    const Clip clip;
    std::string listing;
    for (const char* stream : {"0", "1", "2"}) {
        const auto run = runImport({"audio", clip.path.string(), "--stream", stream, "--block", "1500", "--md5"});
        EXPECT_EQ(run.exitCode, 0) << run.output;
        listing += std::regex_replace(run.output, std::regex("file: .*\n"), "file: CLIP\n");
    }
    hosttest::expectGolden(fs::path(NORVIK_GOLDEN_DIR) / "audio-md5.txt", listing);

    const fs::path raw = fs::path(clip.path).replace_extension(".f32"),
                   wav = fs::path(clip.path).replace_extension(".wav");
    EXPECT_EQ(runImport({"audio", clip.path.string(), "--stream", "1", "--raw", raw.string()}).exitCode, 0);
    const std::string samples = readFile(raw);
    EXPECT_EQ(samples.size(), 3200u * 6 * 4);
    const auto run = runImport({"audio", clip.path.string(), "--stream", "1", "--wav", wav.string()});
    if (!NORVIK_WAV_WRITER) {
        EXPECT_EQ(run.exitCode, 3);
        EXPECT_NE(run.output.find("--wav needs libsndfile"), std::string::npos) << run.output;
        return;
    }
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const std::string file = readFile(wav);
    ASSERT_GE(file.size(), 80u);
    const auto u16 = [&](std::size_t at) { return std::uint8_t(file[at]) | std::uint8_t(file[at + 1]) << 8; };
    const auto u32 = [&](std::size_t at) { return std::uint32_t(u16(at)) | std::uint32_t(u16(at + 2)) << 16; };
    // libsndfile's extensible header: fmt at 12, 40 bytes of format, float sub-format.
    EXPECT_EQ(file.substr(12, 4), "fmt ");
    EXPECT_EQ(u16(20), 0xFFFE);
    EXPECT_EQ(u16(22), 6);
    EXPECT_EQ(u16(34), 32);
    EXPECT_EQ(u32(40), 0x3Fu) << "5.1's channel mask";
    EXPECT_EQ(u16(44), 3);
    EXPECT_EQ(file.substr(file.size() - samples.size()), samples);
}

TEST(AudioCommand, TheLogShowsEachRequestAsTheImporterReadIt) {
    const Clip clip;
    const hosttest::ProfileWithLogSwitch on(true);
    const fs::path folder = on.profile() / "norvik" / "adobe";
    fs::create_directories(folder);
    std::set<fs::path> before;
    for (const auto& entry : fs::directory_iterator(folder)) before.insert(entry.path());
    const auto run = runImport({"audio", clip.path.string(), "--block", "2000"}, on.childEnvironment());
    EXPECT_EQ(run.exitCode, 0) << run.output;
    std::string messages;  // one a line, from the channel layout to the last request
    for (const auto& entry : fs::directory_iterator(folder))
        if (!before.count(entry.path())) {
            for (const std::string& message : hosttest::logMessages(entry.path())) messages += message + "\n";
            fs::remove(entry.path());
        }
    const std::string layout =
        "[imGetAudioChannelLayout] (64)\nm_filePathUtf8: '" + clip.path.string() +
        "'\nm_streamIndex:  0\nAudio channel layout (2 channels):\n    0: kPrAudioChannelLabel_FrontLeft\n"
        "    1: kPrAudioChannelLabel_FrontRight\n    [imNoErr] (0)\n";
    EXPECT_NE(messages.find(layout), std::string::npos) << messages;
    // The second request continues at 2000 and reads 1200 frames: 4800 bytes, the
    // last of them from chunks of 320 frames (1280 bytes) each.
    const std::regex second(
        "\\[imImportAudio7\\] \\(25\\)\nm_filePathUtf8: '.*'\nm_streamIndex:  0\n"
        "importAudioRec7P->position: -1\nm_audioPosition           : 2000\nstartPos                  : 2000\n"
        "importAudioRec7P->size    : 1200\nendPos                    : 3200\nm_numAudioSampleFrames    : 3200\n"
        "startPosBytes             : 8000\nsizeBytes                 : 4800\n"
        "reading : 8000, \\d+, 960\n(reading : \\d+, \\d+, 1280\n){3}fill    : 0\n    \\[imNoErr\\] \\(0\\)\n");
    EXPECT_TRUE(std::regex_search(messages, second)) << messages;
}
