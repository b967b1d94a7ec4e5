// Encode then decode gives back every sample, for every compressed type, size
// parity, method and slice layout.
#include <gtest/gtest.h>

#include "CodecHelpers.h"

using namespace norvik_test;

namespace {

struct Case {
    uint32_t width, height, sliceHeight;
};

void expectSamePicture(const Picture& a, const Picture& b, const std::string& what) {
    for (int p = 0; p < a.info.planes; ++p) {
        ASSERT_EQ(a.planes[p].size(), b.planes[p].size()) << what;
        for (size_t i = 0; i < a.planes[p].size(); ++i)
            ASSERT_EQ(a.planes[p][i], b.planes[p][i]) << what << " plane " << p << " sample " << i;
    }
}

std::vector<Case> casesFor(const TypeInfo& t) {
    std::vector<Case> cases = {{64, 48, 48}, {64, 48, 8}, {38, 22, 2}, {2, 2, 2}};
    if (t.chromaX == 1) cases.push_back({37, 23, 5});  // odd width and height, uneven last slice
    if (t.chromaX == 1) cases.push_back({1, 1, 1});
    if (t.chromaX == 2 && t.chromaY == 1) cases.push_back({38, 21, 5});
    return cases;
}

std::string describe(uint32_t type, const Case& c, uint32_t method, uint32_t k) {
    return "type " + std::to_string(type) + " " + std::to_string(c.width) + "x" + std::to_string(c.height) + " slice " +
           std::to_string(c.sliceHeight) + " method " + std::to_string(method) + " k " + std::to_string(k);
}

}  // namespace

TEST(RoundTrip, EveryTypeSizeMethodAndSliceLayout) {
    Handle h;
    norvik_set_thread_count(h.get(), 1);
    for (const TypeInfo& t : allTypes()) {
        for (const Case& c : casesFor(t)) {
            const auto block = streamFormat(t.type, c.width, c.height, c.sliceHeight);
            for (uint32_t method : {0u, 1u, 2u, 3u, uint32_t{NORVIK_AUTO}}) {
                const Picture pic = makePicture(t.type, c.width, c.height, method + c.width);
                const auto frame = encodePlanar(h.get(), block, pic, method);
                if (method != NORVIK_AUTO) {  // a forced method is what every slice-plane carries
                    const size_t offset = frame[12] | frame[13] << 8 | frame[14] << 16;
                    ASSERT_EQ(frame[offset], method) << describe(t.type, c, method, 255);
                }
                Picture back = pic;
                ASSERT_EQ(decodePlanar(h.get(), block, frame, back), NORVIK_OK) << describe(t.type, c, method, 255);
                expectSamePicture(pic, back, describe(t.type, c, method, 255));
            }
        }
    }
}

// Noise forces escape codes; a tiny or huge forced parameter exercises both ends
// of the Rice code.
TEST(RoundTrip, NoiseAndForcedRiceParameters) {
    Handle h;
    for (const TypeInfo& t : allTypes()) {
        const Case c{40, 12, 4};
        const auto block = streamFormat(t.type, c.width, c.height, c.sliceHeight);
        const Picture pic = makePicture(t.type, c.width, c.height, 7, true);
        for (uint32_t k : {0u, 3u, static_cast<uint32_t>(t.bits - 1), static_cast<uint32_t>(t.bits)}) {
            for (uint32_t method : {1u, 3u}) {
                const auto frame = encodePlanar(h.get(), block, pic, method, k);
                Picture back = pic;
                ASSERT_EQ(decodePlanar(h.get(), block, frame, back), NORVIK_OK) << describe(t.type, c, method, k);
                expectSamePicture(pic, back, describe(t.type, c, method, k));
            }
        }
    }
}

TEST(RoundTrip, AutomaticChoiceCompressesSmoothPicturesAndStoresNoise) {
    Handle h;
    const auto block = streamFormat(104, 256, 64, 16);
    const auto smooth = encodePlanar(h.get(), block, makePicture(104, 256, 64, 1));
    const auto noise = encodePlanar(h.get(), block, makePicture(104, 256, 64, 1, true));
    const size_t raw = 256 * 64 * 2;
    EXPECT_LT(smooth.size(), raw / 2);
    // Stored samples plus headers: never much more than the raw picture.
    EXPECT_LE(noise.size(), raw + 12 + 4 * 12 + 8 * 12);
}

TEST(RoundTrip, BottomUpPlanarOutputMirrorsRows) {
    Handle h;
    const auto block = streamFormat(105, 20, 10, 4);
    const Picture pic = makePicture(105, 20, 10, 3);
    const auto frame = encodePlanar(h.get(), block, pic);
    Picture back = pic;
    ASSERT_EQ(decodePlanar(h.get(), block, frame, back, true), NORVIK_OK);
    expectSamePicture(pic, back, "bottom-up");
}
