// The name tables against the host interface's own values.
#include <gtest/gtest.h>
#include <set>
#include <string>

#include "log/Names.h"
#include "prsdk/PrSDK.h"

using namespace prsdk;

TEST(Names, SelectorsAndResultsMatchTheHostValues) {
    EXPECT_STREQ(selectorName(imInit), "imInit");
    EXPECT_STREQ(selectorName(imGetSourceVideo), "imGetSourceVideo");
    EXPECT_STREQ(selectorName(imGetAudioChannelLayout), "imGetAudioChannelLayout");
    EXPECT_STREQ(selectorName(66), "imPerformSourceSettingsCommand");
    for (int unnamed : {-1, 2, 3, 4, 6, 7, 10, 11, 15, 22, 26, 31, 34, 35, 67, 82})
        EXPECT_STREQ(selectorName(unnamed), "????") << unnamed;

    int named = 0;
    for (int s = 0; s <= 66; ++s) named += std::string(selectorName(s)) != "????";
    EXPECT_EQ(named, 48);

    EXPECT_STREQ(resultName(imIterateStreams), "imIterateStreams");
    EXPECT_STREQ(resultName(imFileReadFailed), "imFileReadFailed");
    EXPECT_STREQ(resultName(38), "inFileNotAvailable");
    EXPECT_STREQ(resultName(malSupports8), "malSupports8");
    EXPECT_STREQ(resultName(imBadFormatIndex), "imBadFormatIndex");
    EXPECT_STREQ(resultName(imIsCacheable), "imIsCacheable");
    for (int unnamed : {-1, 41, 42, 99, 102, 302}) EXPECT_STREQ(resultName(unnamed), "????") << unnamed;
}

TEST(Names, AsyncAndChannelLabels) {
    EXPECT_STREQ(asyncSelectorName(aiGetFrame), "aiGetFrame");
    EXPECT_STREQ(asyncSelectorName(aiSelectEfficientRenderTime), "aiSelectEfficientRenderTime");
    EXPECT_STREQ(asyncSelectorName(7), "????");
    EXPECT_STREQ(asyncResultName(aiFrameNotFound), "aiFrameNotFound");
    EXPECT_STREQ(asyncResultName(-1), "????");

    EXPECT_STREQ(channelLabelName(kPrAudioChannelLabel_Discrete), "kPrAudioChannelLabel_Discrete");
    EXPECT_STREQ(channelLabelName(kPrAudioChannelLabel_BackCenter), "kPrAudioChannelLabel_BackCenter");
    EXPECT_STREQ(channelLabelName(kPrAudioChannelLabel_TopBackCenter), "kPrAudioChannelLabel_TopBackCenter");
    EXPECT_STREQ(channelLabelName(119), "kPrAudioChannelLabel_FrontRightWide");
    EXPECT_STREQ(channelLabelName(137), "kPrAudioChannelLabel_Ambisonic_Z");
    for (int unknown : {1, 99, 120, 126, 138, -5})
        EXPECT_STREQ(channelLabelName(unknown), "Unknown_Channel_Label") << unknown;
}

TEST(Names, EveryHostPixelFormatHasItsOwnName) {
    std::set<std::string> names;
    for (PrPixelFormat format : kAllPixelFormats) {
        const std::string name = pixelFormatName(format);
        EXPECT_NE(name, "????") << fourccToText(format, false);
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 73u);

    EXPECT_STREQ(pixelFormatName(0x61726762), "PrPixelFormat_BGRA_4444_8u");
    EXPECT_STREQ(pixelFormatName(0), "PrPixelFormat_Any");
    EXPECT_STREQ(pixelFormatName(makeFourCC("Bgra")), "PrPixelFormat_BGRA_4444_16u");
    EXPECT_STREQ(pixelFormatName(makeFourCC("BGra")), "PrPixelFormat_BGRA_4444_32f");
    EXPECT_STREQ(pixelFormatName(makeFourCC("BGaL")), "PrPixelFormat_BGRA_4444_32f_Linear");
    EXPECT_STREQ(pixelFormatName(makeFourCC("VUYA")), "PrPixelFormat_VUYA_4444_8u_709");
    EXPECT_STREQ(pixelFormatName(makeFourCC("vUYa")), "PrPixelFormat_VUYA_4444_32f_709");
    EXPECT_STREQ(pixelFormatName(makeFourCC("v210")), "PrPixelFormat_V210_422_10u_601");
    EXPECT_STREQ(pixelFormatName(makeFourCC("RGB1")), "PrPixelFormat_RGB_444_10u");
    EXPECT_STREQ(pixelFormatName(makeFourCC("yuy2")), "PrPixelFormat_YUYV_422_8u_601");
    EXPECT_STREQ(pixelFormatName(makeFourCC("raww")), "PrPixelFormat_Raw");
    EXPECT_STREQ(pixelFormatName(makeFourCC("badf")), "PrPixelFormat_Invalid");
    EXPECT_STREQ(pixelFormatName(makeFourCC("abcd")), "????");
    EXPECT_STREQ(pixelFormatName(makeFourCC("BGRA")), "????");  // case matters
}

TEST(Names, FourCharacterCodesInBothByteOrders) {
    EXPECT_EQ(fourccToText(0x61726762, false), "bgra");
    EXPECT_EQ(fourccToText(0x61726762, true), "argb");
    EXPECT_EQ(fourccToText(makeFourCCBigEndian("N8RA"), true), "N8RA");
    EXPECT_EQ(fourccToText(0x41564956, true), "AVIV");
    EXPECT_EQ(fourccToText(0, false), "[0][0][0][0]");
    EXPECT_EQ(fourccToText(0, true), "[0][0][0][0]");
    EXPECT_EQ(fourccToText(0xFF7F2041, false), "A [127][255]");
    EXPECT_EQ(fourccToText(0x80190A7E, true), "[128][25][10]~");
}
