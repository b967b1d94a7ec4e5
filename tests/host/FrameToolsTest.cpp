// Pictures that norvik-import frames writes for people, read back from their PNG
// files. (Its framemd5 lines are pinned by the golden listings of ../endtoend.)
#include <filesystem>
#include <gtest/gtest.h>

#include "FrameFormats.h"
#include "PictureView.h"
#include "PngFile.h"
#include "TestPlatform.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace fs = std::filesystem;
using namespace norvikimport;
using namespace prsdk;

TEST(FrameTools, PicturesShowVideoRangeEndsAsBlackAndWhiteAndReadBack) {
    const hosttest::TempFolder folder;
    const fs::path png = folder.path() / "picture.png";
    // yuy2: Y 16 and 235 with neutral chroma.
    const ViewImage eight = viewOf(*findFrameFormat(PrPixelFormat_YUYV_422_8u_601), 2, 1, {16, 128, 235, 128});
    EXPECT_EQ(eight.bits, 8);
    EXPECT_EQ(eight.samples, (std::vector<std::uint16_t>{0, 0, 0, 255, 255, 255}));
    // v210: six pixels, Y 64 (black) and 940 (white) alternating, chroma 512.
    const std::uint32_t cb = 512, black = 64, white = 940;
    const std::uint32_t words[4] = {cb | black << 10 | cb << 20, white | cb << 10 | black << 20,
                                    cb | white << 10 | cb << 20, black | cb << 10 | white << 20};
    std::vector<std::uint8_t> group(16);
    for (int i = 0; i < 16; ++i) group[std::size_t(i)] = std::uint8_t(words[i / 4] >> (8 * (i % 4)));
    const ViewImage deep = viewOf(*findFrameFormat(PrPixelFormat_V210_422_10u_709), 6, 1, group);
    EXPECT_EQ(deep.bits, 16);
    for (int x = 0; x < 6; ++x) EXPECT_EQ(deep.samples[std::size_t(3 * x)], x % 2 ? 65535 : 0) << x;

    for (const ViewImage* image : {&eight, &deep}) {
        writePng(png, *image);
        // Read back in 16 bits, which stb_image makes of 8-bit samples by times 257. A
        // build without 16-bit PNGs writes 16-bit samples rounded to 8 bits.
        const bool sixteen = image->bits == 16 && pngWritesSixteenBits();
        EXPECT_EQ(stbi_is_16_bit(png.string().c_str()), sixteen ? 1 : 0);
        int w = 0, h = 0, channels = 0;
        stbi_us* read = stbi_load_16(png.string().c_str(), &w, &h, &channels, 0);
        ASSERT_NE(read, nullptr) << stbi_failure_reason();
        std::vector<std::uint16_t> want;
        for (int v : image->samples)
            want.push_back(std::uint16_t(sixteen ? v : image->bits == 8 ? v * 257 : (v + 128) / 257 * 257));
        EXPECT_EQ(std::vector<std::uint16_t>(read, read + want.size()), want);
        stbi_image_free(read);
        EXPECT_EQ(w, image->width);
        EXPECT_EQ(channels, 3);
    }
}
