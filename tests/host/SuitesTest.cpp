// The substitute host's own suites, memory functions and knobs.
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

#include "norvikhost/Host.h"
#include "norvikhost/HostError.h"
#include "norvikhost/PixelLayout.h"
#include "norvikhost/Text.h"

using namespace norvikhost;
using namespace prsdk;

namespace {

class HostSuites : public ::testing::Test {
protected:
    template <typename Suite>
    const Suite* acquire(const char* name, int32 version) {
        const void* suite = nullptr;
        EXPECT_EQ(host.basicSuite()->AcquireSuite(name, version, &suite), suiteError_NoError) << name;
        return static_cast<const Suite*>(suite);
    }

    Host host;
};

// Uninterleaves `bytes` (frames x channels samples of `bits`) and returns the channels.
std::vector<std::vector<float>> uninterleave(const PrSDKAudioSuite* audio, int bits,
                                             const std::vector<unsigned char>& bytes, uint32 channels) {
    const uint32 frames = uint32(bytes.size() / (bits / 8) / channels);
    std::vector<std::vector<float>> out(channels, std::vector<float>(frames, 99.0f));
    std::vector<float*> pointers;
    for (auto& channel : out) pointers.push_back(channel.data());
    const AudioUninterleaveFunc functions[] = {
        audio->UninterleaveAndConvertFrom8BitInteger, audio->UninterleaveAndConvertFrom16BitInteger,
        audio->UninterleaveAndConvertFrom24BitInteger, audio->UninterleaveAndConvertFrom32BitInteger};
    EXPECT_EQ(functions[bits / 8 - 1](bytes.data(), pointers.data(), channels, frames), suiteError_NoError);
    return out;
}

}  // namespace

TEST_F(HostSuites, AudioConvertsSignedSamplesOverTwoToTheBitsLessOne) {
    const auto* audio = acquire<PrSDKAudioSuite>(kPrSDKAudioSuite, kPrSDKAudioSuiteVersion);
    ASSERT_NE(audio, nullptr);
    // 8-bit arrives signed: -128, 127 | 0, -1.
    auto c8 = uninterleave(audio, 8, {0x80, 0x7F, 0x00, 0xFF}, 2);
    EXPECT_EQ(c8[0], (std::vector<float>{-1.0f, 0.0f}));
    EXPECT_EQ(c8[1], (std::vector<float>{127.0f / 128, -1.0f / 128}));
    // 16-bit little-endian: -32768, 32767, 1.
    auto c16 = uninterleave(audio, 16, {0x00, 0x80, 0xFF, 0x7F, 0x01, 0x00}, 3);
    EXPECT_EQ(c16[0][0], -1.0f);
    EXPECT_EQ(c16[1][0], 32767.0f / 32768);
    EXPECT_EQ(c16[2][0], 1.0f / 32768);
    // 24-bit in three bytes, sign-extended: -8388608, -1, 8388607, 256.
    auto c24 = uninterleave(audio, 24, {0x00, 0x00, 0x80, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x01, 0x00}, 1);
    EXPECT_EQ(c24[0], (std::vector<float>{-1.0f, -1.0f / 8388608, 8388607.0f / 8388608, 256.0f / 8388608}));
    // 32-bit: INT32_MIN, 65536.
    auto c32 = uninterleave(audio, 32, {0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x01, 0x00}, 2);
    EXPECT_EQ(c32[0][0], -1.0f);
    EXPECT_EQ(c32[1][0], 1.0f / 32768);
}

TEST_F(HostSuites, AudioReadsUnalignedSourcesAndRefusesNullChannels) {
    const auto* audio = acquire<PrSDKAudioSuite>(kPrSDKAudioSuite, kPrSDKAudioSuiteVersion);
    const unsigned char bytes[] = {0xAA, 0x00, 0x40, 0x00, 0xC0};  // 16-bit 16384, -16384 from offset 1
    float left = 0, right = 0;
    float* channels[] = {&left, &right};
    EXPECT_EQ(audio->UninterleaveAndConvertFrom16BitInteger(bytes + 1, channels, 2, 1), suiteError_NoError);
    EXPECT_EQ(left, 0.5f);
    EXPECT_EQ(right, -0.5f);
    float* missing[] = {&left, nullptr};
    EXPECT_EQ(audio->UninterleaveAndConvertFrom16BitInteger(bytes, missing, 2, 1), suiteError_InvalidParms);
}

TEST_F(HostSuites, FramesHaveAlignedRowsAndBottomUpStorageForPackedRgb) {
    const auto* creator = acquire<PrSDKPPixCreatorSuite>(kPrSDKPPixCreatorSuite, kPrSDKPPixCreatorSuiteVersion);
    const auto* ppix = acquire<PrSDKPPixSuite>(kPrSDKPPixSuite, kPrSDKPPixSuiteVersion);
    const prRect bounds{0, 0, 3, 2};
    PPixHand frame = nullptr;
    ASSERT_EQ(creator->CreatePPix(&frame, PrPPixBufferAccess_WriteOnly, PrPixelFormat_BGRA_4444_8u, &bounds), 0);
    int32 rowBytes = 0;
    char* pixels = nullptr;
    ASSERT_EQ(ppix->GetRowBytes(frame, &rowBytes), 0);
    ASSERT_EQ(ppix->GetPixels(frame, PrPPixBufferAccess_WriteOnly, &pixels), 0);
    EXPECT_EQ(rowBytes, 32);  // 12 bytes of pixels, rounded up
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(pixels) % kBufferAlignment, 0u);
    std::memset(pixels, 1, 12);             // first row in memory ...
    std::memset(pixels + rowBytes, 2, 12);  // ... second row in memory
    std::vector<std::uint8_t> expected(24, 2);
    std::fill(expected.begin() + 12, expected.end(), 1);  // ... is the picture's bottom row
    EXPECT_EQ(host.frames().readTopRowFirst(frame), expected);
    prRect got{};
    PrPixelFormat format = 0;
    EXPECT_EQ(ppix->GetBounds(frame, &got), 0);
    EXPECT_EQ(got.right, 3);
    EXPECT_EQ(ppix->GetPixelFormat(frame, &format), 0);
    EXPECT_EQ(format, PrPixelFormat_BGRA_4444_8u);
    EXPECT_EQ(ppix->Dispose(frame), 0);
    EXPECT_EQ(host.frames().liveCount(), 0u);
}

TEST_F(HostSuites, TopLeftKnobDecidesTheRowOrderOfNewFrames) {
    host.setOriginTopLeft(PrPixelFormat_BGRA_4444_8u, true);
    host.setOriginTopLeft(PrPixelFormat_UYVY_422_8u_601, false);
    const auto* creator = acquire<PrSDKPPixCreatorSuite>(kPrSDKPPixCreatorSuite, kPrSDKPPixCreatorSuiteVersion);
    const prRect bounds{0, 0, 2, 2};
    for (PrPixelFormat format : {PrPixelFormat_BGRA_4444_8u, PrPixelFormat_UYVY_422_8u_601}) {
        PPixHand frame = nullptr;
        ASSERT_EQ(creator->CreatePPix(&frame, 1, format, &bounds), 0);
        const Frame* info = host.frames().find(frame);
        std::memset(info->pixels, 7, std::size_t(info->rowBytes));  // first memory row
        const auto picture = host.frames().readTopRowFirst(frame);
        const bool topLeft = format == PrPixelFormat_BGRA_4444_8u;
        EXPECT_EQ(picture.front(), topLeft ? 7 : 0);
        EXPECT_EQ(picture.back(), topLeft ? 0 : 7);
        // Writing top row first and reading back is the identity.
        std::vector<std::uint8_t> ramp(picture.size());
        for (std::size_t i = 0; i < ramp.size(); ++i) ramp[i] = std::uint8_t(i);
        host.frames().writeTopRowFirst(frame, ramp);
        EXPECT_EQ(host.frames().readTopRowFirst(frame), ramp);
    }
    EXPECT_EQ(host.frames().liveCount(), 2u);  // both leaked on purpose
}

TEST_F(HostSuites, FrameCreationRefusesBadRequestsAndObeysTheFailureKnob) {
    const auto* creator = acquire<PrSDKPPixCreatorSuite>(kPrSDKPPixCreatorSuite, kPrSDKPPixCreatorSuiteVersion);
    const auto* ppix = acquire<PrSDKPPixSuite>(kPrSDKPPixSuite, kPrSDKPPixSuiteVersion);
    const prRect good{0, 0, 4, 4}, empty{4, 0, 4, 4};
    PPixHand frame = reinterpret_cast<PPixHand>(1);
    EXPECT_EQ(creator->CreatePPix(&frame, 1, PrPixelFormat_BGRA_4444_8u, &empty), suiteError_InvalidParms);
    EXPECT_EQ(frame, nullptr);
    EXPECT_EQ(creator->CreatePPix(&frame, 1, PrPixelFormat_NTSCDV25, &good), suiteError_InvalidParms);
    EXPECT_EQ(creator->CreatePPix(&frame, 1, makeFourCC("zzzz"), &good), suiteError_InvalidParms);
    EXPECT_EQ(creator->CreatePPix(&frame, 1, PrPixelFormat_BGRA_4444_8u, nullptr), suiteError_InvalidParms);
    host.setCreatePPixFails(true);
    EXPECT_NE(creator->CreatePPix(&frame, 1, PrPixelFormat_BGRA_4444_8u, &good), suiteError_NoError);
    EXPECT_EQ(frame, nullptr);
    EXPECT_EQ(host.frames().liveCount(), 0u);
    // Handles the host never made are refused, not followed.
    int dummy = 0;
    int32 rowBytes = 0;
    EXPECT_EQ(ppix->GetRowBytes(&dummy, &rowBytes), suiteError_InvalidParms);
    EXPECT_EQ(ppix->Dispose(&dummy), suiteError_InvalidParms);
    EXPECT_EQ(host.frames().badDisposals(), 1u);
}

TEST_F(HostSuites, ClonedFramesCopyPixelsAndAreTrackedSeparately) {
    const auto* creator = acquire<PrSDKPPixCreatorSuite>(kPrSDKPPixCreatorSuite, kPrSDKPPixCreatorSuiteVersion);
    const prRect bounds{0, 0, 5, 3};
    PPixHand original = nullptr, copy = nullptr;
    ASSERT_EQ(creator->CreatePPix(&original, 1, PrPixelFormat_VUYA_4444_32f, &bounds), 0);
    std::vector<std::uint8_t> picture(5 * 16 * 3, 0x3C);
    host.frames().writeTopRowFirst(original, picture);
    ASSERT_EQ(creator->ClonePPix(original, &copy), 0);
    EXPECT_EQ(host.frames().readTopRowFirst(copy), picture);
    EXPECT_EQ(host.frames().liveCount(), 2u);
    EXPECT_EQ(host.frames().dispose(original), 0);
    EXPECT_EQ(host.frames().dispose(copy), 0);
    EXPECT_EQ(host.frames().createdCount(), 2u);
}

TEST_F(HostSuites, ImageProcessingAnswersPerFormat) {
    const auto* ip = acquire<PrSDKImageProcessingSuite>(kPrSDKImageProcessingSuite, kPrSDKImageProcessingSuiteVersion);
    const auto topLeft = [&](PrPixelFormat format) {
        prBool answer = -1;
        EXPECT_EQ(ip->FormatIsOriginTopLeft(format, &answer), 0);
        return answer;
    };
    // Packed 4:4:4 formats are stored bottom row first, 4:2:2 and planar ones top row first.
    EXPECT_EQ(topLeft(PrPixelFormat_BGRA_4444_8u), 0);
    EXPECT_EQ(topLeft(PrPixelFormat_VUYA_4444_32f_709), 0);
    EXPECT_EQ(topLeft(PrPixelFormat_V210_422_10u_601), 1);
    EXPECT_EQ(topLeft(PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_601), 1);
    host.setOriginTopLeft(PrPixelFormat_BGRA_4444_8u, true);
    EXPECT_EQ(topLeft(PrPixelFormat_BGRA_4444_8u), 1);
    for (PrPixelFormat f : kAllPixelFormats) {
        prBool answer = -1;
        EXPECT_EQ(ip->FormatHasAlpha(f, &answer), 0) << fourccText(f);
    }
    prBool answer = -1;
    EXPECT_EQ(ip->FormatHasAlpha(PrPixelFormat_BGRX_4444_8u, &answer), 0);
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(ip->FormatIsCompressed(PrPixelFormat_PALDV50, &answer), 0);
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(ip->FormatIsOriginTopLeft(makeFourCC("zzzz"), &answer), suiteError_InvalidParms);
}

TEST_F(HostSuites, SizeForPixelBufferOfOneRowIsTheRowBytes) {
    const auto* ip = acquire<PrSDKImageProcessingSuite>(kPrSDKImageProcessingSuite, kPrSDKImageProcessingSuiteVersion);
    const auto size = [&](PrPixelFormat format, int32 width, int32 height) {
        int32 bytes = -1;
        EXPECT_EQ(ip->GetSizeForPixelBuffer(format, width, height, &bytes), 0);
        return bytes;
    };
    EXPECT_EQ(size(PrPixelFormat_BGRA_4444_8u, 3, 1), 32);
    EXPECT_EQ(size(PrPixelFormat_BGRA_4444_8u, 1920, 1080), (1920 * 4 + 32) * 1080);  // every row padded
    EXPECT_EQ(size(PrPixelFormat_BGRA_4444_32f, 5, 1), 96);
    EXPECT_EQ(size(PrPixelFormat_UYVY_422_8u_601, 7, 1), 32);
    EXPECT_EQ(size(PrPixelFormat_V210_422_10u_709, 1280, 1), 3456);  // 48-pixel groups of 128 bytes
    EXPECT_EQ(size(PrPixelFormat_V210_422_10u_709, 7, 1), 128);
}

TEST_F(HostSuites, BasicSuiteCountsAndFailsAcquisitionsOnRequest) {
    SPBasicSuite* basic = host.basicSuite();
    const void* suite = nullptr;
    for (const char* name : {kPrSDKPPixCreatorSuite, kPrSDKPPixCacheSuite, kPrSDKPPixSuite, kPrSDKTimeSuite,
                             kPrSDKImageProcessingSuite, kPrSDKAudioSuite, kPrSDKErrorSuite}) {
        const int32 version = std::strcmp(name, kPrSDKPPixCacheSuite) == 0         ? 6
                              : std::strcmp(name, kPrSDKImageProcessingSuite) == 0 ? 2
                              : std::strcmp(name, kPrSDKErrorSuite) == 0           ? 3
                                                                                   : 1;
        EXPECT_EQ(basic->AcquireSuite(name, version, &suite), 0) << name;
        EXPECT_NE(suite, nullptr) << name;
    }
    EXPECT_EQ(host.outstandingSuites(), 7);
    EXPECT_EQ(basic->AcquireSuite(kPrSDKTimeSuite, 2, &suite), suiteError_IDNotValid);
    EXPECT_EQ(suite, nullptr);
    host.failAcquisition(kPrSDKTimeSuite);
    EXPECT_EQ(basic->AcquireSuite(kPrSDKTimeSuite, 1, &suite), suiteError_Fail);
    EXPECT_EQ(suite, nullptr);
    EXPECT_EQ(host.acquisitions(kPrSDKTimeSuite), 1);
    host.failAcquisition(kPrSDKTimeSuite, false);
    EXPECT_EQ(basic->AcquireSuite(kPrSDKTimeSuite, 1, &suite), 0);
    EXPECT_EQ(basic->ReleaseSuite(kPrSDKTimeSuite, 1), 0);
    EXPECT_EQ(host.releases(kPrSDKTimeSuite), 1);
    EXPECT_EQ(host.outstandingSuites(), 7);
    EXPECT_EQ(basic->AcquireSuite(nullptr, 1, &suite), suiteError_InvalidParms);
}

TEST_F(HostSuites, ErrorEventsAreRecordedAsUtf8) {
    const auto* errors = acquire<PrSDKErrorSuite3>(kPrSDKErrorSuite, kPrSDKErrorSuiteVersion);
    EXPECT_EQ(errors->SetEventStringUnicode(3, u"Title \u00e9", u"sm\U0001F600ile"), 0);
    EXPECT_EQ(errors->SetEventStringUnicode(2, nullptr, u"\xD800 lone"), 0);
    const auto events = host.errorEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].type, 3u);
    EXPECT_EQ(events[0].title, "Title \xC3\xA9");
    EXPECT_EQ(events[0].description, "sm\xF0\x9F\x98\x80ile");
    EXPECT_EQ(events[1].title, "");
    EXPECT_EQ(events[1].description, "\xEF\xBF\xBD lone");
}

TEST_F(HostSuites, MemoryFunctionsRecordBlocksAndSurviveForeignPointers) {
    PrMemoryFuncs* memory = host.stdParms()->piSuites->memFuncs;
    char* p = memory->newPtrClear(10);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[9], 0);
    std::memcpy(p, "abcdefghij", 10);
    memory->setPtrSize(&p, 20);
    EXPECT_EQ(memory->getPtrSize(p), 20);
    EXPECT_EQ(std::memcmp(p, "abcdefghij", 10), 0);
    char** h = memory->newHandle(4);
    EXPECT_EQ(memory->setHandleSize(h, 8), 0);
    EXPECT_EQ(memory->getHandleSize(h), 8);
    EXPECT_EQ(host.memory().livePtrCount(), 1u);
    EXPECT_EQ(host.memory().liveHandleCount(), 1u);
    char foreign[4];
    memory->disposePtr(foreign);
    EXPECT_EQ(host.memory().badDisposals(), 1u);
    memory->disposePtr(p);
    memory->disposeHandle(h);
    EXPECT_EQ(host.memory().livePtrCount() + host.memory().liveHandleCount(), 0u);
    EXPECT_EQ(host.memory().totalAllocations(), 2u);
}

TEST(HostLifetime, OneHostAtATimeAndSuitesRefuseCallsWithoutOne) {
    SPBasicSuite* basic = nullptr;
    {
        Host host;
        basic = host.basicSuite();
        EXPECT_THROW(Host second, HostError);
    }
    const void* suite = reinterpret_cast<const void*>(1);
    EXPECT_EQ(basic->AcquireSuite(kPrSDKTimeSuite, 1, &suite), suiteError_InvalidCall);
    EXPECT_EQ(suite, nullptr);
    Host again;  // a new one may come once the old one is gone
    EXPECT_EQ(Host::current(), &again);
}
