// The module driver against small fake importers: the host's order of calls,
// what it reads from the answers, and how it copes with a module that answers
// badly. The clip driver against a module that fails one selector at a time: the
// sequence stops where a host would, and the file is always closed once opened.
// (What it asks of a module that fails nothing shows in the golden texts.)
#include <gtest/gtest.h>

#include "ClipReport.h"
#include "TestPlatform.h"
#include "norvikhost/HostError.h"
#include "norvikhost/ImporterDriver.h"

using namespace norvikhost;
using namespace prsdk;

namespace {

std::filesystem::path fakeModule(const char* fileName) { return hosttest::binDir() / fileName; }

// The info sequence on a clip of the given name, which the fake module never reads.
norvikimport::ClipReport runFake(const std::string& clipName) {
    Host host;
    ImporterDriver driver(host, fakeModule(FAKE_GOOD_MODULE));
    return norvikimport::inspectClip(driver, clipName);
}

std::string failing(int32 selector, int32 code) {
    return "fail-" + std::to_string(selector) + "-" + std::to_string(code) + ".avi";
}

}  // namespace

TEST(ImporterDriver, PlaysTheModuleWideOrderWithAWellBehavedModule) {
    Host host;
    ImporterDriver driver(host, fakeModule(FAKE_GOOD_MODULE));
    const ModuleAnswers answers = driver.describeModule();
    ASSERT_EQ(answers.formats.size(), 3u);  // two, a list of extensions among them, then the end
    EXPECT_EQ(answers.formats[2].result, imBadFormatIndex);
    EXPECT_EQ(answers.formats[1].extensions, (std::vector<std::string>{"fk1", "fk2"}));
    ASSERT_EQ(answers.subTypeNames.size(), 2u);
    ASSERT_EQ(answers.subTypeNames[0].subTypes.size(), 2u);
    EXPECT_EQ(answers.subTypeNames[0].subTypes[1].name, "Norvik 14-bit RGB");
    EXPECT_EQ(answers.subTypeNames[1].result, imUnsupported);
    // What the module left in the host: its suite given back, its list freed, one event.
    EXPECT_EQ(host.acquisitions(kPrSDKErrorSuite), 1);
    EXPECT_EQ(host.outstandingSuites(), 0);
    EXPECT_EQ(host.memory().livePtrCount(), 0u);
    EXPECT_EQ(host.memory().badDisposals(), 0u);
    ASSERT_EQ(host.errorEvents().size(), 1u);
    EXPECT_EQ(host.errorEvents()[0].description, "started \xC3\xA9\xF0\x9F\x98\x80");
}

TEST(ImporterDriver, CopesWithAModuleThatAnswersBadly) {
    Host host;
    ImporterDriver driver(host, fakeModule(FAKE_BAD_MODULE));
    const ModuleAnswers answers = driver.describeModule();
    EXPECT_EQ(answers.init.result, imBadFile);
    // A format list that never ends is cut; unterminated names stop at their field.
    ASSERT_EQ(answers.formats.size(), std::size_t(ImporterDriver::kMaxFormats));
    EXPECT_EQ(answers.formats[0].name, std::string(256, 'N'));
    EXPECT_EQ(answers.formats[0].shortName, std::string(32, 'S'));
    EXPECT_EQ(answers.formats[0].extensions, std::vector<std::string>{std::string(256, 'e')});
    EXPECT_EQ(answers.supports8, 42);
    // A subtype list outside host memory is reported, neither read nor freed.
    ASSERT_FALSE(answers.subTypeNames.empty());
    EXPECT_FALSE(answers.subTypeNames[0].problem.empty());
    EXPECT_TRUE(answers.subTypeNames[0].subTypes.empty());
    EXPECT_EQ(host.memory().badDisposals(), 0u);
    EXPECT_EQ(answers.shutdown, -7);
}

TEST(ClipDriver, AFailedOpenOrStreamZeroEndsTheSequence) {
    for (int32 code : {imBadFile, imUnknownError}) {
        const ClipAnswers clip = runFake(failing(imOpenFile8, code)).clip;
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
        const auto analysis = runFake(failing(imAnalysis, code)).clip;
        EXPECT_EQ(analysis.analysis.result, code);
        EXPECT_EQ(analysis.dataRate.result, imNoErr);
        const auto dataRate = runFake(failing(imDataRateAnalysis, code)).clip;
        EXPECT_EQ(dataRate.dataRate.sizeResult, code);
        EXPECT_TRUE(dataRate.dataRate.samples.empty());
        EXPECT_TRUE(pixels.closed && analysis.closed && dataRate.closed);
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
        EXPECT_THROW(runFake("throw-" + std::to_string(selector) + ".avi"), HostError) << selector;
}
#endif
