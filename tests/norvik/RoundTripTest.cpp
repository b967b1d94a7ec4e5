// Encode then decode gives back every sample, for every compressed type, size
// parity, method, Rice parameter and slice layout, into top-down and bottom-up planes.
#include <gtest/gtest.h>

#include "CodecHelpers.h"

using namespace norvik_test;

namespace {

void expectRoundTrip(uint32_t handle, const Picture& pic, uint32_t slice, uint32_t method, uint32_t k = NORVIK_AUTO,
                     bool bottomUp = false) {
    const std::string what = "type " + std::to_string(pic.info.type) + " " + std::to_string(pic.width) + "x" +
                             std::to_string(pic.height) + " slice " + std::to_string(slice) + " method " +
                             std::to_string(method) + " k " + std::to_string(k);
    const auto block = streamFormat(pic.info.type, pic.width, pic.height, slice);
    const auto frame = encodePlanar(handle, block, pic, method, k);
    if (method != NORVIK_AUTO) {  // a forced method is what the slice-planes carry
        const size_t offset = frame[12] | frame[13] << 8 | frame[14] << 16;
        ASSERT_EQ(frame[offset], method) << what;
    }
    Picture back = pic;
    ASSERT_EQ(decodePlanar(handle, block, frame, back, bottomUp), NORVIK_OK) << what;
    for (int p = 0; p < pic.info.planes; ++p) ASSERT_EQ(back.planes[p], pic.planes[p]) << what << " plane " << p;
}

}  // namespace

TEST(RoundTrip, EveryTypeSizeMethodAndSliceLayout) {
    Handle h;
    norvik_set_thread_count(h.get(), 1);
    for (const TypeInfo& t : allTypes()) {
        struct Size {
            uint32_t width, height, slice;
        };
        std::vector<Size> sizes = {{64, 48, 48}, {64, 48, 8}, {38, 22, 2}, {2, 2, 2}};
        if (t.chromaX == 1) sizes.insert(sizes.end(), {{37, 23, 5}, {1, 1, 1}});  // odd sizes, uneven last slice
        if (t.chromaX == 2 && t.chromaY == 1) sizes.push_back({38, 21, 5});
        for (const Size& s : sizes)
            for (uint32_t method : {0u, 1u, 2u, 3u, uint32_t{NORVIK_AUTO}})
                expectRoundTrip(h.get(), makePicture(t.type, s.width, s.height, method + s.width), s.slice, method,
                                NORVIK_AUTO, method == 2);
    }
}

// Noise forces escape codes; a tiny or huge forced parameter exercises both ends
// of the Rice code.
TEST(RoundTrip, NoiseAndForcedRiceParameters) {
    Handle h;
    for (const TypeInfo& t : allTypes()) {
        const Picture noise = makePicture(t.type, 40, 12, 7, true);
        for (uint32_t k : {0u, 3u, uint32_t(t.bits - 1), uint32_t(t.bits)})
            for (uint32_t method : {1u, 3u}) expectRoundTrip(h.get(), noise, 4, method, k);
    }
}

TEST(RoundTrip, AutomaticChoiceCompressesSmoothPicturesAndStoresNoise) {
    Handle h;
    const auto block = streamFormat(104, 256, 64, 16);
    const size_t raw = 256 * 64 * 2;
    EXPECT_LT(encodePlanar(h.get(), block, makePicture(104, 256, 64, 1)).size(), raw / 2);
    // Stored samples plus headers: never much more than the raw picture.
    EXPECT_LE(encodePlanar(h.get(), block, makePicture(104, 256, 64, 1, true)).size(), raw + 12 + 4 * 12 + 8 * 12);
}
