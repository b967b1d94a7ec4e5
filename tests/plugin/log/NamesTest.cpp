// The name tables against the host interface's own values: a number typed wrong
// in a table shows as a wrong name in every log line.
#include <gtest/gtest.h>
#include <set>
#include <string>

#include "log/Names.h"
#include "prsdk/PrSDK.h"

using namespace prsdk;

TEST(Names, SelectorsResultsAndChannelLabels) {
    EXPECT_STREQ(selectorName(imGetSourceVideo), "imGetSourceVideo");
    EXPECT_STREQ(selectorName(66), "imPerformSourceSettingsCommand");
    EXPECT_STREQ(resultName(imIterateStreams), "imIterateStreams");
    EXPECT_STREQ(asyncSelectorName(aiGetFrame), "aiGetFrame");
    EXPECT_STREQ(asyncResultName(aiFrameNotFound), "aiFrameNotFound");
    EXPECT_STREQ(channelLabelName(kPrAudioChannelLabel_Discrete), "kPrAudioChannelLabel_Discrete");
    EXPECT_STREQ(channelLabelName(119), "kPrAudioChannelLabel_FrontRightWide");
    EXPECT_STREQ(channelLabelName(137), "kPrAudioChannelLabel_Ambisonic_Z");
    // Gaps between the numbers and the numbers beyond them.
    for (int unnamed : {-1, 2, 67, 82}) EXPECT_STREQ(selectorName(unnamed), "????") << unnamed;
    for (int unnamed : {-1, 41, 99, 302}) EXPECT_STREQ(resultName(unnamed), "????") << unnamed;
    EXPECT_STREQ(asyncSelectorName(7), "????");
    EXPECT_STREQ(asyncResultName(-1), "????");
    for (int unknown : {1, 120, 138, -5}) EXPECT_STREQ(channelLabelName(unknown), "Unknown_Channel_Label") << unknown;
}

TEST(Names, EveryHostPixelFormatHasItsOwnName) {
    std::set<std::string> names;
    for (PrPixelFormat format : kAllPixelFormats) {
        const std::string name = pixelFormatName(format);
        EXPECT_NE(name, "????") << fourccToText(format, false);
        names.insert(name);
    }
    EXPECT_EQ(names.size(), std::size(kAllPixelFormats));
    EXPECT_STREQ(pixelFormatName(0x61726762), "PrPixelFormat_BGRA_4444_8u");
    EXPECT_STREQ(pixelFormatName(makeFourCC("BGra")), "PrPixelFormat_BGRA_4444_32f");
    EXPECT_STREQ(pixelFormatName(makeFourCC("BGRA")), "????");  // case matters
}

TEST(Names, FourCharacterCodesInBothByteOrders) {
    EXPECT_EQ(fourccToText(0x61726762, false), "bgra");
    EXPECT_EQ(fourccToText(0x61726762, true), "argb");
    EXPECT_EQ(fourccToText(makeFourCCBigEndian("N8RA"), true), "N8RA");
    EXPECT_EQ(fourccToText(0, false), "[0][0][0][0]");
    EXPECT_EQ(fourccToText(0xFF7F2041, false), "A [127][255]");
    EXPECT_EQ(fourccToText(0x80190A7E, true), "[128][25][10]~");
}
