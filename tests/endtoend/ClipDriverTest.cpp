// The clip driver against a module that fails one selector at a time: the
// sequence stops where a host would, and the file is always closed once opened.
// (What it asks of a module that fails nothing shows in the golden texts.)
#include <fstream>
#include <gtest/gtest.h>

#include "ClipFixtures.h"
#include "norvikhost/HostError.h"
#include "norvikhost/Platform.h"

namespace fs = std::filesystem;
using namespace endtoend;
using namespace prsdk;

namespace {

norvikimport::ClipReport runFake(const std::string& clipName) {
    TempFolder folder;
    const fs::path clip = folder.path() / clipName;
    std::ofstream(clip) << "not read";
    norvikhost::Host host;
    norvikhost::ImporterDriver driver(host, norvikhost::currentExecutablePath().parent_path() / FAKE_GOOD_MODULE);
    return norvikimport::inspectClip(driver, clip);
}

std::string failing(int32 selector, int32 code) {
    return "fail-" + std::to_string(selector) + "-" + std::to_string(code) + ".avi";
}

TEST(ClipDriver, AFailedOpenOrStreamZeroEndsTheSequence) {
    for (int32 code : {imBadFile, imUnknownError}) {
        const norvikhost::ClipAnswers clip = runFake(failing(imOpenFile8, code)).clip;
        EXPECT_EQ(clip.openResult, code);
        EXPECT_FALSE(clip.opened);
        EXPECT_TRUE(clip.streams.empty());
        EXPECT_FALSE(clip.closed);
    }
    const norvikimport::ClipReport report = runFake(failing(imGetInfo8, imBadFile));
    ASSERT_EQ(report.clip.streams.size(), 1u);
    EXPECT_EQ(report.clip.streams[0].result, imBadFile);
    EXPECT_FALSE(report.clip.pixelFormatsAsked || report.clip.analysis.asked || report.clip.dataRate.asked);
    EXPECT_TRUE(report.clip.closed);
    EXPECT_FALSE(norvikimport::clipShown(report));
}

TEST(ClipDriver, LaterFailuresAreReportedAndTheRestStillAsked) {
    for (int32 code : {imBadFile, imUnknownError}) {
        const auto pixels = runFake(failing(imGetIndPixelFormat, code)).clip;
        EXPECT_TRUE(pixels.pixelFormats.formats.empty());
        EXPECT_EQ(pixels.pixelFormats.endResult, code);
        EXPECT_EQ(pixels.analysis.result, imNoErr);
        EXPECT_TRUE(pixels.closed);

        const auto analysis = runFake(failing(imAnalysis, code)).clip;
        EXPECT_EQ(analysis.analysis.result, code);
        EXPECT_EQ(analysis.dataRate.result, imNoErr);
        EXPECT_TRUE(analysis.closed);

        const auto dataRate = runFake(failing(imDataRateAnalysis, code)).clip;
        EXPECT_EQ(dataRate.dataRate.sizeResult, code);
        EXPECT_TRUE(dataRate.dataRate.samples.empty());
        EXPECT_TRUE(dataRate.closed);

        EXPECT_EQ(runFake(failing(imQuietFile, code)).clip.quietResult, code);
        EXPECT_EQ(runFake(failing(imCloseFile, code)).clip.closeResult, code);
    }
}

#ifndef _WIN32
// (A C++ exception cannot cross between MinGW modules with their own runtimes.)
TEST(ClipDriver, AnEscapingExceptionIsAHostErrorAfterTheFileIsClosed) {
    // The fake module frees its session only at imCloseFile: a leak check would
    // catch a driver that did not close before reporting.
    for (int32 selector : {imGetInfo8, imGetIndPixelFormat, imAnalysis, imDataRateAnalysis, imQuietFile})
        EXPECT_THROW(runFake("throw-" + std::to_string(selector) + ".avi"), norvikhost::HostError) << selector;
}
#endif

}  // namespace
