// The entry point's barrier, the dispatcher and the module-wide answers.
#include <cstring>
#include <gtest/gtest.h>
#include <stdexcept>

#include "TestPlatform.h"
#include "entry/Barrier.h"
#include "entry/Dispatcher.h"
#include "entry/ModuleState.h"
#include "norvikhost/Host.h"

using namespace prsdk;

namespace {

prMALError call(int32 selector, norvikhost::Host& host, void* param1 = nullptr, void* param2 = nullptr) {
    return runInsideBarrier(selector, [&] { return dispatchSelector(selector, host.stdParms(), param1, param2); });
}

void* indexParam(uintptr_t index) { return reinterpret_cast<void*>(index); }

class Entry : public ::testing::Test {
protected:
    void SetUp() override { hosttest::processProfile(); }  // the log switch is off
    void TearDown() override { replaceErrorSuite(nullptr); }
    norvikhost::Host host;
};

}  // namespace

TEST_F(Entry, InitSetsOnlyPriorityAndAudioConformAndKeepsOneErrorSuite) {
    imImportInfoRec info;
    std::memset(&info, 0xAB, sizeof(info));
    imImportInfoRec expected = info;
    expected.priority = 200;
    expected.avoidAudioConform = 1;

    EXPECT_EQ(call(imInit, host, &info), imNoErr);
    EXPECT_EQ(std::memcmp(&info, &expected, sizeof(info)), 0);
    EXPECT_EQ(call(imInit, host, &info), imNoErr);  // a second start-up replaces the holder
    EXPECT_EQ(host.acquisitions(kPrSDKErrorSuite), 2);
    EXPECT_EQ(host.releases(kPrSDKErrorSuite), 1);
    ASSERT_NE(g_errorSuite, nullptr);
    EXPECT_TRUE(g_errorSuite->isAcquired());

    EXPECT_EQ(call(imShutdown, host), imNoErr);
    EXPECT_EQ(g_errorSuite, nullptr);
    EXPECT_EQ(host.releases(kPrSDKErrorSuite), 2);
    EXPECT_EQ(call(imShutdown, host), imNoErr);  // without a start-up before it
}

TEST_F(Entry, DescribesOneFileFormat) {
    imIndFormatRec format;
    std::memset(&format, 0x5A, sizeof(format));
    const imIndFormatRec untouched = format;
    EXPECT_EQ(call(imGetIndFormat, host, indexParam(1), &format), imBadFormatIndex);
    EXPECT_EQ(std::memcmp(&format, &untouched, sizeof(format)), 0);

    ASSERT_EQ(call(imGetIndFormat, host, indexParam(0), &format), imNoErr);
    EXPECT_EQ(format.filetype, 0x41564956u);
    EXPECT_EQ(format.canWriteTimecode, 0);
    EXPECT_EQ(format.flags, 0x5A5A5A5A);  // the word at byte 4 is left alone
    EXPECT_STREQ(format.FormatName, "Norvik AVI");
    EXPECT_STREQ(format.FormatShortName, "Norvik AVI");
    EXPECT_STREQ(format.PlatformExtension, "avi");
    EXPECT_EQ(format.PlatformExtension[4], '\0');  // the list ends with a second NUL
    EXPECT_EQ(format.PlatformExtension[255], '\0');
    EXPECT_EQ(format.hasAlternateTypes, 0x5A5A5A5A);
}

TEST_F(Entry, UnhandledSelectorsAnswerUnsupported) {
    for (int32 selector : {2, 5, 23, 45, 48, 65, 66, 67, 82, 1000, -1})
        EXPECT_EQ(call(selector, host), imUnsupported) << selector;
}

// An exception escaping a selector is 99, and an error event once the error
// suite can be had: before any start-up, after a start-up that could not get it
// (the failed acquisition is only logged), and when a later failure gets it.
TEST_F(Entry, EscapingExceptionsAre99AndAnErrorEventWhenTheSuiteCanBeHad) {
    const auto throwing = [](auto thrown) { return [=]() -> prMALError { throw thrown; }; };
    EXPECT_EQ(runInsideBarrier(imInit, throwing(std::runtime_error("before any start-up"))), imUnknownError);
    host.failAcquisition(kPrSDKErrorSuite);
    imImportInfoRec info{};
    ASSERT_EQ(call(imInit, host, &info), imNoErr);
    ASSERT_NE(g_errorSuite, nullptr);
    EXPECT_FALSE(g_errorSuite->isAcquired());
    EXPECT_EQ(runInsideBarrier(imAnalysis, throwing(std::runtime_error("boom"))), imUnknownError);
    EXPECT_TRUE(host.errorEvents().empty());

    host.failAcquisition(kPrSDKErrorSuite, false);
    EXPECT_EQ(runInsideBarrier(imGetInfo8, throwing(std::logic_error("m_videoInfo is NULL"))), imUnknownError);
    ASSERT_EQ(host.errorEvents().size(), 1u);
    EXPECT_EQ(host.errorEvents()[0].type, kEventTypeError);
    EXPECT_EQ(host.errorEvents()[0].title, "NorvikImporter: Internal error");
    EXPECT_EQ(host.errorEvents()[0].description,
              "FATAL: Unhandled exception during [imGetInfo8] (37): m_videoInfo is NULL");
    EXPECT_EQ(runInsideBarrier(70, throwing(std::runtime_error(""))), imUnknownError);
    EXPECT_EQ(host.errorEvents().back().description, "FATAL: Unhandled exception during [????] (70): ");
    EXPECT_EQ(runInsideBarrier(imInit, throwing(42)), imUnknownError);
    EXPECT_EQ(call(imShutdown, host), imNoErr);
    EXPECT_EQ(host.outstandingSuites(), 0);
}

TEST_F(Entry, InitFailsWithAnErrorEventWhenTheHostCannotDescribeItsFormats) {
    host.failAcquisition(kPrSDKImageProcessingSuite);
    imImportInfoRec info{};
    EXPECT_EQ(call(imInit, host, &info), imUnknownError);
    ASSERT_EQ(host.errorEvents().size(), 1u);
    EXPECT_EQ(host.errorEvents()[0].description,
              "FATAL: Unhandled exception during [imInit] (0): "
              "Could not acquire suite: 'Premiere Image Processing Suite', ver: 2");
    EXPECT_EQ(call(imShutdown, host), imNoErr);
    EXPECT_EQ(host.outstandingSuites(), 0) << "the suites of the failed start-up are given back";
}

// The names and codes of every subtype are in the golden texts of tests/endtoend.
TEST_F(Entry, ListsTheSeventeenSubtypesInHostMemory) {
    imImportInfoRec info{};
    ASSERT_EQ(call(imInit, host, &info), imNoErr);
    imSubTypeDescriptionRec* list = nullptr;
    ASSERT_EQ(call(imGetSubTypeNames, host, indexParam(0x41564956), &list), imNoErr);
    ASSERT_EQ(host.memory().livePtrCount(), 1u);
    EXPECT_EQ(host.memory().ptrSize(reinterpret_cast<char*>(list)), int64_t(17 * sizeof(imSubTypeDescriptionRec)));
    EXPECT_EQ(list[0].subType, makeFourCCBigEndian("N8RA"));
    EXPECT_EQ(std::u16string(list[16].subTypeName), u"Norvik 14-bit RGB");
}
