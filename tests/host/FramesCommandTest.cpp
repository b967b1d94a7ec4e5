// norvik-import frames and play as a person runs them, through the real importer
// module: the listing of the sample clip, the same listing through the
// asynchronous importer, and playback with a second thread beside it.
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

#include "ClipMaker.h"
#include "TestPlatform.h"

namespace fs = std::filesystem;
using hosttest::ChildResult;

namespace {

ChildResult runImport(const std::vector<std::string>& args) {
    return hosttest::runChild(hosttest::programPath("norvik-import"), args);
}

}  // namespace

TEST(FramesCommand, ListsMd5LinesWritesPicturesAndNamesTheOfferedFormats) {
    const ChildResult md5 = runImport({"frames", "--md5", "--range", "1:3"});
    ASSERT_EQ(md5.exitCode, 0) << md5.output;
    const std::regex frameLine(R"(0, +([0-9]+), +\1, +1, +460800, [0-9a-f]{32})");
    std::istringstream lines(md5.output);
    int frameLines = 0;
    for (std::string line; std::getline(lines, line);) frameLines += std::regex_match(line, frameLine) ? 1 : 0;
    EXPECT_EQ(frameLines, 3) << md5.output;
    EXPECT_NE(md5.output.find("#dimensions 0: 640x360\n#pixel_format 0: yuy2\n"), std::string::npos);

    const ChildResult refused = runImport({"frames", "--format", "bgra"});
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_NE(refused.output.find("offered in: yuy2, yuy3, uyvy, uyv7"), std::string::npos) << refused.output;

    const fs::path folder =
        fs::temp_directory_path() /
        ("norvik-frames-command-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    const ChildResult pictures =
        runImport({"frames", "--range", "59:", "--png", folder.string(), "--raw", folder.string()});
    EXPECT_EQ(pictures.exitCode, 0) << pictures.output;
    EXPECT_TRUE(fs::exists(folder / "frame-000059.png"));
    EXPECT_EQ(fs::file_size(folder / "frame-000059.raw"), 460800u);
    fs::remove_all(folder);
}

TEST(FramesCommand, AsyncFramesListTheSameAndPlayShowsBothPathsSideBySide) {
    const hosttest::TempFolder folder;
    const std::string clip = (folder.path() / "clip.avi").string();
    clipmaker::ClipSpec plan;
    plan.width = 64;
    plan.height = 32;
    plan.frames = 30;
    clipmaker::makeClip(clip, plan);
    const ChildResult sync = runImport({"frames", clip, "--md5", "--range", "10:25"});
    const ChildResult async = runImport({"frames", clip, "--md5", "--range", "10:25", "--async", "--ahead", "3"});
    EXPECT_EQ(async.exitCode, 0) << async.output;
    EXPECT_EQ(async.output, sync.output);

    const ChildResult play =
        runImport({"play", clip, "--compare", "--frames", "40", "--seek-every", "7", "--with-sync"});
    EXPECT_EQ(play.exitCode, 0) << play.output;
    for (const char* row :
         {R"(\nimGetSourceVideo +[0-9.]+( +[0-9.]+ ms){4} +0\n)", R"(\nasync, 4 ahead +[0-9.]+( +[0-9.]+ ms){4} +0\n)",
          R"(\nother thread: [0-9]+ frames through imGetSourceVideo meanwhile, 0 failed\n)"})
        EXPECT_TRUE(std::regex_search(play.output, std::regex(row))) << row << "\n" << play.output;
}
