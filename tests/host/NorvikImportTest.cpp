// norvik-import as a person runs it, a child process, with the real importer
// module: the audio listing of layouts and framemd5 lines is the same on every
// platform (a golden text kept in the tree; NORVIK_UPDATE_GOLDEN=1 rewrites it),
// --raw and --wav write the same samples; frames lists, writes pictures and
// names the formats offered, and play shows both frame paths; the diagnostic log
// is written only with the switch on and shows the selectors, the start-up
// report and each request as the importer read it.
#include <algorithm>
#include <gtest/gtest.h>
#include <regex>
#include <set>

#include "ClipMaker.h"
#include "ProjectVersion.h"
#include "TestPlatform.h"
#include "norvikhost/Platform.h"

namespace fs = std::filesystem;
using hosttest::ChildResult;
using hosttest::readFile;

namespace {

ChildResult runImport(const std::vector<std::string>& args, const hosttest::Environment& env = {}) {
    return hosttest::runChild(hosttest::programPath("norvik-import"), args, env);
}

std::set<fs::path> filesIn(const fs::path& folder) {
    std::set<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) files.insert(entry.path());
    return files;
}

// A clip of 10 frames, 32 x 16. Its audio: 16-bit stereo, 24-bit 5.1 (extensible)
// and 8-bit mono, 0.4 s at 8 kHz. The clip maker rounds a sine to these widths;
// the platforms' sin() differ in their last bits, which changes floats (and could
// change 32-bit samples) but not these. (ffmpeg's framemd5 of the same streams
// with asetnsamples=n=1500 has the same lines.)
struct Clip {
    explicit Clip(std::uint32_t frames = 10) {
        clipmaker::ClipPlan plan;
        plan.width = 32;
        plan.height = 16;
        plan.frames = frames;
        plan.threads = 1;
        plan.audio = {{2, 8000, 16, false, false}, {6, 8000, 24, false, true}, {1, 8000, 8, false, false}};
        clipmaker::makeClip(path.string(), plan);
    }
    const hosttest::TempFolder folder;
    const fs::path path = folder.path() / "clip.avi";
};

}  // namespace

TEST(NorvikImport, AudioListsTheSameFramemd5LinesEverywhereAndWritesRawAndWav) {
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
    // libsndfile's extensible header: fmt at 12, 6 channels of 32 bits, 5.1's channel
    // mask (0x3F), float sub-format.
    EXPECT_EQ(file.substr(12, 4), "fmt ");
    for (const auto& [at, value] : {std::pair{20, 0xFFFE}, {22, 6}, {34, 32}, {40, 0x3F}, {42, 0}, {44, 3}})
        EXPECT_EQ(std::uint8_t(file[at]) | std::uint8_t(file[at + 1]) << 8, value) << "at " << at;
    EXPECT_EQ(file.substr(file.size() - samples.size()), samples);
}

TEST(NorvikImport, TheLogIsWrittenOnlyWithTheSwitchOnAndShowsEachRequest) {
    const Clip clip;
    const std::vector<std::string> args = {"audio", clip.path.string(), "--block", "2000"};
    {
        const hosttest::ProfileWithLogSwitch off(false);
        const auto before = filesIn(off.profile() / "norvik" / "adobe");
        const bool hadFolder = fs::exists(off.profile() / "norvik");
        EXPECT_EQ(runImport(args, off.childEnvironment()).exitCode, 0);
        EXPECT_EQ(fs::exists(off.profile() / "norvik"), hadFolder);
        EXPECT_EQ(filesIn(off.profile() / "norvik" / "adobe"), before);
    }
    // With the switch on, formats then audio: a log file each.
    const hosttest::ProfileWithLogSwitch on(true);
    const fs::path folder = on.profile() / "norvik" / "adobe";
    std::vector<std::string> messages;
    for (const auto& run : {std::vector<std::string>{"formats"}, args}) {
        const auto before = filesIn(folder);
        EXPECT_EQ(runImport(run, on.childEnvironment()).exitCode, 0) << run[0];
        std::vector<fs::path> created;
        for (const fs::path& file : filesIn(folder))
            if (!before.count(file)) created.push_back(file);
        ASSERT_EQ(created.size(), 1u) << run[0];
        EXPECT_TRUE(
            std::regex_match(created[0].filename().string(), std::regex(R"(norvik_pr_importer_\d{8}_\d{6}_\d\d\.log)")))
            << created[0];
        const auto logged = hosttest::logMessages(created[0]);
        fs::remove(created[0]);
        ASSERT_GE(logged.size(), 2u);
        EXPECT_EQ(logged[0], "Log opened");
        EXPECT_EQ(logged[1].rfind("Application: ", 0), 0u) << logged[1];
        EXPECT_NE(logged[1].find("norvik-import"), std::string::npos) << logged[1];
        messages.insert(messages.end(), logged.begin(), logged.end());
    }
    for (const char* message :
         {"[imInit] (0)", "    [imNoErr] (0)", "[imGetIndFormat] (14)", "    [imBadFormatIndex] (301)",
          "[imGetSupports8] (36)", "    [malSupports8] (101)", "[imShutdown] (1)"})
        EXPECT_NE(std::find(messages.begin(), messages.end(), message), messages.end()) << message;

    // The start-up report of each run: every host format, codec types 1 to 61, the subtypes and the rows.
    const auto count = [&](const char* pattern) {
        const std::regex shape(pattern);
        return std::count_if(messages.begin(), messages.end(),
                             [&](const std::string& m) { return std::regex_match(m, shape); });
    };
    EXPECT_EQ(count(R"(\[.+\] : [ ?1] [ ?1] [ ?1] -  PrPixelFormat_\w+ \(err: \w+ \w+ \w+\) - -?\d+)"), 2 * 73);
    EXPECT_EQ(count(R"((YES| NO) (YES| NO) : .+|  -   - : .+)"), 2 * 61);
    EXPECT_EQ(count(R"(\[N\d\w\w\] : \(1\d\d\) .+ : 'Norvik .+')"), 2 * 17);
    EXPECT_EQ(count(R"(\[\w{4}\] PrPixelFormat_\w+\s* : \(\s?\d+\) .+ : \(\d\) .+ : [ 1] : [ 1])"), 2 * 17);
    EXPECT_GT(count(R"(    <- PrPixelFormat_\w+)"), 2 * 17);

    std::string text;  // one message a line
    for (const std::string& message : messages) text += message + "\n";
    const std::string layout =
        "[imGetAudioChannelLayout] (64)\nm_filePathUtf8: '" + clip.path.string() +
        "'\nm_streamIndex:  0\nAudio channel layout (2 channels):\n    0: kPrAudioChannelLabel_FrontLeft\n"
        "    1: kPrAudioChannelLabel_FrontRight\n    [imNoErr] (0)\n";
    EXPECT_NE(text.find(layout), std::string::npos) << text;
    // The second request continues at 2000 and reads 1200 frames: 4800 bytes, the
    // last of them from chunks of 320 frames (1280 bytes) each.
    const std::regex second(
        "\\[imImportAudio7\\] \\(25\\)\nm_filePathUtf8: '.*'\nm_streamIndex:  0\n"
        "importAudioRec7P->position: -1\nm_audioPosition           : 2000\nstartPos                  : 2000\n"
        "importAudioRec7P->size    : 1200\nendPos                    : 3200\nm_numAudioSampleFrames    : 3200\n"
        "startPosBytes             : 8000\nsizeBytes                 : 4800\n"
        "reading : 8000, \\d+, 960\n(reading : \\d+, \\d+, 1280\n){3}fill    : 0\n    \\[imNoErr\\] \\(0\\)\n");
    EXPECT_TRUE(std::regex_search(text, second)) << text;
}

TEST(NorvikImport, FramesListsMd5LinesWritesPicturesAndNamesTheOfferedFormats) {
    const ChildResult md5 = runImport({"frames", "--md5", "--range", "1:3"});
    ASSERT_EQ(md5.exitCode, 0) << md5.output;
    const std::regex frameLine(R"(\n0, +([0-9]+), +\1, +1, +460800, [0-9a-f]{32}(?=\n))");
    EXPECT_EQ(std::distance(std::sregex_iterator(md5.output.begin(), md5.output.end(), frameLine), {}), 3)
        << md5.output;
    EXPECT_NE(md5.output.find("#dimensions 0: 640x360\n#pixel_format 0: yuy2\n"), std::string::npos);

    const ChildResult refused = runImport({"frames", "--format", "bgra"});
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_NE(refused.output.find("offered in: yuy2, yuy3, uyvy, uyv7"), std::string::npos) << refused.output;

    const hosttest::TempFolder folder;
    const ChildResult pictures =
        runImport({"frames", "--range", "59:", "--png", folder.path().string(), "--raw", folder.path().string()});
    EXPECT_EQ(pictures.exitCode, 0) << pictures.output;
    EXPECT_TRUE(fs::exists(folder.path() / "frame-000059.png"));
    EXPECT_EQ(fs::file_size(folder.path() / "frame-000059.raw"), 460800u);
}

// (That the asynchronous importer gives imGetSourceVideo's frames is
// FrameImport's; here play runs both side by side, imGetSourceVideo from two
// render threads, without a failure.)
TEST(NorvikImport, PlayShowsBothPathsSideBySide) {
    const Clip clip(30);
    const ChildResult play =
        runImport({"play", clip.path.string(), "--compare", "--frames", "40", "--seek-every", "7", "--with-sync",
                   "--threads", "2"});
    EXPECT_EQ(play.exitCode, 0) << play.output;
    for (const char* row :
         {R"(\nimGetSourceVideo, 2 threads +[0-9.]+( +[0-9.]+ ms){4} +0 +[1-9][0-9]*\n)",
          R"(\nasync, 4 ahead +[0-9.]+( +[0-9.]+ ms){4} +0 +[1-9][0-9]*\n)",
          R"(\nother thread: [0-9]+ frames through imGetSourceVideo meanwhile, 0 failed\n)"})
        EXPECT_TRUE(std::regex_search(play.output, std::regex(row))) << row << "\n" << play.output;
}

// norvik-import copied alone into a folder: without a module there it says so;
// with the module but not the codec library the module needs, it names the
// library (on Windows, where norvik-import itself starts without it; on Linux
// the copied program still loads the build's library). --version prints the
// project's version.
TEST(NorvikImport, SaysWhyTheModuleCannotBeLoadedAndGivesItsVersion) {
    const hosttest::TempFolder folder;
    const fs::path program = folder.path() / hosttest::programPath("norvik-import").filename();
    fs::copy_file(hosttest::programPath("norvik-import"), program);
    const std::string module = norvikhost::importerModuleFileName();
    const ChildResult noModule = hosttest::runChild(program, {"formats"});
    EXPECT_EQ(noModule.exitCode, 2);
    EXPECT_NE(noModule.output.find(module + "': no such file"), std::string::npos) << noModule.output;
#ifdef _WIN32
    fs::copy_file(hosttest::binDir() / module, folder.path() / module);
    // Windows also looks in the current folder, here the build's, which has the library.
    const fs::path buildFolder = fs::current_path();
    fs::current_path(folder.path());
    const ChildResult noCodec = hosttest::runChild(program, {"formats"});
    fs::current_path(buildFolder);
    EXPECT_EQ(noCodec.exitCode, 2);
    EXPECT_NE(noCodec.output.find("needs the library norvik_common64.dll, which is not beside this program"),
              std::string::npos)
        << noCodec.output;
#endif
    EXPECT_EQ(runImport({"--version"}).output,
              std::string("norvik-import (ImporterNorvik) ") + projectversion::kVersion + "\n");
}
