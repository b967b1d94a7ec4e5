// The entry point's barrier, the dispatcher and the module-wide answers.
#include <cstring>
#include <gtest/gtest.h>
#include <stdexcept>

#include "FakeHost.h"
#include "TempHome.h"
#include "entry/Barrier.h"
#include "entry/Dispatcher.h"
#include "entry/ModuleState.h"
#include "log/Text.h"

using namespace prsdk;

namespace {

prMALError call(int32 selector, FakeHost& host, void* param1 = nullptr, void* param2 = nullptr) {
    return runInsideBarrier(selector, [&] { return dispatchSelector(selector, host.stdParms(), param1, param2); });
}

void* indexParam(uintptr_t index) { return reinterpret_cast<void*>(index); }

class Entry : public ::testing::Test {
protected:
    void SetUp() override { testProfileFolder(); }  // no registry file: the log stays off
    void TearDown() override { replaceErrorSuite(nullptr); }
    FakeHost host;
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
    EXPECT_EQ(FakeHost::acquired[kPrSDKErrorSuite], 2);
    EXPECT_EQ(FakeHost::released[kPrSDKErrorSuite], 1);
    EXPECT_EQ(FakeHost::acquired[kPrSDKImageProcessingSuite], 4);  // tables and report, twice
    EXPECT_EQ(FakeHost::released[kPrSDKImageProcessingSuite], 4);
    ASSERT_NE(g_errorSuite, nullptr);
    EXPECT_TRUE(g_errorSuite->isAcquired());

    EXPECT_EQ(call(imShutdown, host), imNoErr);
    EXPECT_EQ(g_errorSuite, nullptr);
    EXPECT_EQ(FakeHost::released[kPrSDKErrorSuite], 2);
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
    imImportInfoRec info{};
    EXPECT_EQ(call(imGetSupports8, host, &info, &info), malSupports8);
    for (int32 selector : {2, 5, 23, 45, 48, 65, 66, 67, 82, 1000, -1})
        EXPECT_EQ(call(selector, host), imUnsupported) << selector;
}

TEST_F(Entry, EscapingExceptionsBecomeAnErrorEventAnd99) {
    imImportInfoRec info{};
    ASSERT_EQ(call(imInit, host, &info), imNoErr);

    EXPECT_EQ(runInsideBarrier(imGetInfo8, []() -> prMALError { throw std::logic_error("m_videoInfo is NULL"); }),
              imUnknownError);
    ASSERT_EQ(FakeHost::events.size(), 1u);
    EXPECT_EQ(FakeHost::events[0].type, kEventTypeError);
    EXPECT_EQ(FakeHost::events[0].title, u"NorvikImporter: Internal error");
    EXPECT_EQ(toUtf8(FakeHost::events[0].description),
              "FATAL: Unhandled exception during [imGetInfo8] (37): m_videoInfo is NULL");

    EXPECT_EQ(runInsideBarrier(70, []() -> prMALError { throw std::runtime_error(""); }), imUnknownError);
    EXPECT_EQ(toUtf8(FakeHost::events.back().description), "FATAL: Unhandled exception during [????] (70): ");
    EXPECT_EQ(runInsideBarrier(imInit, []() -> prMALError { throw 42; }), imUnknownError);
}

TEST_F(Entry, ExceptionsStayInsideWhenTheErrorSuiteCannotBeHad) {
    EXPECT_EQ(runInsideBarrier(imInit, []() -> prMALError { throw std::runtime_error("before any start-up"); }),
              imUnknownError);

    FakeHost::refuseSuite = kPrSDKErrorSuite;
    imImportInfoRec info{};
    ASSERT_EQ(call(imInit, host, &info), imNoErr);  // the failed acquisition is only logged
    ASSERT_NE(g_errorSuite, nullptr);
    EXPECT_FALSE(g_errorSuite->isAcquired());
    EXPECT_EQ(runInsideBarrier(imAnalysis, []() -> prMALError { throw std::runtime_error("boom"); }), imUnknownError);
    EXPECT_TRUE(FakeHost::events.empty());

    FakeHost::refuseSuite.clear();  // a later failure finds the suite after all
    EXPECT_EQ(runInsideBarrier(imAnalysis, []() -> prMALError { throw std::runtime_error("boom"); }), imUnknownError);
    EXPECT_EQ(FakeHost::events.size(), 1u);
}

TEST(ScopedSuiteTest, GetThrowsTheHostsMissingSuiteByName) {
    FakeHost host;
    FakeHost::refuseAcquire = true;
    ScopedSuite suite(host.basicSuite(), kPrSDKErrorSuite, 3);
    try {
        suite.get();
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Could not acquire suite: 'Premiere Error Suite', ver: 3");
    }
    FakeHost::refuseAcquire = false;
    EXPECT_NE(suite.get(), nullptr);
    suite.release();
    suite.release();
    EXPECT_EQ(FakeHost::released[kPrSDKErrorSuite], 1);
}

TEST_F(Entry, InitFailsWithAnErrorEventWhenTheHostCannotDescribeItsFormats) {
    FakeHost::refuseSuite = kPrSDKImageProcessingSuite;
    imImportInfoRec info{};
    EXPECT_EQ(call(imInit, host, &info), imUnknownError);
    ASSERT_EQ(FakeHost::events.size(), 1u);
    EXPECT_EQ(toUtf8(FakeHost::events[0].description),
              "FATAL: Unhandled exception during [imInit] (0): "
              "Could not acquire suite: 'Premiere Image Processing Suite', ver: 2");
}

TEST_F(Entry, ListsTheSeventeenSubtypesInHostMemory) {
    imImportInfoRec info{};
    ASSERT_EQ(call(imInit, host, &info), imNoErr);
    imSubTypeDescriptionRec* list = nullptr;
    ASSERT_EQ(call(imGetSubTypeNames, host, indexParam(0x41564956), &list), imNoErr);
    ASSERT_EQ(FakeHost::blocks.size(), 1u);
    EXPECT_EQ(FakeHost::blockSizes[0], 17 * sizeof(imSubTypeDescriptionRec));
    ASSERT_EQ(static_cast<void*>(list), static_cast<void*>(FakeHost::blocks[0].get()));
    EXPECT_EQ(list[0].subType, makeFourCCBigEndian("N8RA"));
    EXPECT_EQ(std::u16string(list[0].subTypeName), u"Norvik 8-bit RGBA");
    EXPECT_EQ(list[6].subType, makeFourCCBigEndian("N8G0"));
    EXPECT_EQ(std::u16string(list[6].subTypeName), u"Norvik 8-bit YUV 4:0:0 greyscale");
    EXPECT_EQ(list[16].subType, makeFourCCBigEndian("N4RG"));
    EXPECT_EQ(std::u16string(list[16].subTypeName), u"Norvik 14-bit RGB");
}
