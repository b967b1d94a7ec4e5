// Every variant of the encoder and decoder gives the same bytes: each picture is
// encoded with the portable kernels and the best the processor has, and decoded into
// every output with the reference path (NORVIK_SIMD=reference: every Rice code read
// without the table of short codes, the colour-matrix change in double precision
// only), the portable kernels (=portable) and the best
// the processor has, and the bytes must match.
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

#include "CodecHelpers.h"

using namespace norvik_test;

namespace {

void setSimd(const char* value) {
#ifdef _WIN32
    _putenv_s("NORVIK_SIMD", value);
#else
    if (value[0] == '\0')
        unsetenv("NORVIK_SIMD");
    else
        setenv("NORVIK_SIMD", value, 1);
#endif
}

uint32_t rowBytes(uint32_t type, uint32_t w) {
    if (type == 4 || type == 5) return (w + 1) / 2 * 4;
    if (type == 11) return (w + 5) / 6 * 16;
    return w * (type == 31 || type == 32 ? 8 : 4);
}

std::vector<uint8_t> decodeWith(const char* simd, uint32_t h, const std::vector<uint8_t>& block,
                                const std::vector<uint8_t>& frame, const CodecFormat& wanted, uint32_t height,
                                uint32_t stride) {
    setSimd(simd);
    std::vector<uint8_t> out;
    EXPECT_EQ(decodePacked(h, block, frame, wanted, height, stride, out), NORVIK_OK);
    return out;
}

// Noise in every slice of some slice-planes but not others, so that stored and
// coded slice-planes meet in one decode.
Picture mixedPicture(uint32_t type, uint32_t w, uint32_t height, uint32_t sliceHeight) {
    Picture pic = makePicture(type, w, height, 11, false);
    const Picture noise = makePicture(type, w, height, 12, true);
    for (int p = 0; p < pic.info.planes; ++p) {
        const uint32_t pw = pic.planeWidth(p), rowsPerSlice = sliceHeight * pic.planeHeight(p) / height;
        for (uint32_t y = 0; y < pic.planeHeight(p); ++y)
            if ((y / rowsPerSlice) % 3 == 1)
                std::copy_n(noise.planes[p].begin() + y * pw, pw, pic.planes[p].begin() + y * pw);
    }
    return pic;
}

}  // namespace

// Widths of 202 and 203 leave partial vector blocks and v210 groups; noise gives
// every code length and many samples near rounding boundaries, and stored
// slice-planes. Nineteen slices, the last shorter, decoded on one thread and on
// two, are decoded in pairs, or in groups of sixteen and three, and of ten and
// nine (runs of four, two and one), as the processor allows.
TEST(SimdPaths, EveryOutputMatchesTheReference) {
    const uint32_t outputs[] = {1, 2, 4, 5, 11, 15, 16, 19, 31, 32, 49, 50};
    const uint32_t height = 38, sliceHeight = 2;
    Handle h;
    for (const uint32_t type : {101u, 102u, 104u, 105u, 108u, 110u, 114u, 115u, 123u}) {
        const uint32_t w = typeInfo(type).chromaX == 2 ? 202 : 203;
        for (const int kind : {0, 1, 2}) {
            const Picture pic = kind == 2 ? mixedPicture(type, w, height, sliceHeight)
                                          : makePicture(type, w, height, 11, kind == 1);
            const char* kindName = kind == 0 ? "" : kind == 1 ? ", noise" : ", mixed";
            for (const uint32_t space : {1u, 2u}) {
                const auto block = streamFormat(type, w, height, sliceHeight, space, 1);
                setSimd("portable");
                const auto portableFrame = encodePlanar(h.get(), block, pic);
                setSimd("");
                const auto frame = encodePlanar(h.get(), block, pic);
                EXPECT_EQ(frame, portableFrame) << "type " << type << " encoded" << kindName;
                for (const uint32_t out : outputs) {
                    for (const uint32_t outSpace : {1u, 2u}) {
                        const CodecFormat wanted = record(out, 0, outSpace, 3 - space);
                        const uint32_t stride = rowBytes(out, w) + 4;
                        norvik_set_thread_count(h.get(), 2);
                        const auto reference = decodeWith("reference", h.get(), block, frame, wanted, height, stride);
                        const auto portable = decodeWith("portable", h.get(), block, frame, wanted, height, stride);
                        for (const uint32_t threads : {1u, 2u}) {
                            norvik_set_thread_count(h.get(), threads);
                            const auto best = decodeWith("", h.get(), block, frame, wanted, height, stride);
                            EXPECT_TRUE(reference == portable && portable == best)
                                << "type " << type << " into " << out << ", colour space " << space << " -> "
                                << outSpace << kindName << ", " << threads << " thread(s)";
                        }
                    }
                }
            }
        }
    }
    setSimd("");
}
