// Every variant of the encoder and decoder gives the same bytes: each picture is
// encoded with the portable kernels and the best the processor has, and decoded into
// every output with the reference path (NORVIK_SIMD=reference: every Rice code read
// without the table of short codes, the colour-matrix change in double precision
// only), the portable kernels (=portable) and the best
// the processor has, and the bytes must match.
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

}  // namespace

// Widths of 202 and 203 leave partial vector blocks and v210 groups; noise gives every code length and many
// samples near rounding boundaries; three slices exercise the paired slice decode
// with an unpaired last slice.
TEST(SimdPaths, EveryOutputMatchesTheReference) {
    const uint32_t outputs[] = {1, 2, 4, 5, 11, 15, 16, 19, 31, 32, 49, 50};
    Handle h;
    for (const uint32_t type : {101u, 102u, 104u, 105u, 108u, 110u, 114u, 115u, 123u}) {
        const uint32_t w = typeInfo(type).chromaX == 2 ? 202 : 203, height = 38;
        for (const bool noise : {false, true}) {
            const Picture pic = makePicture(type, w, height, 11, noise);
            for (const uint32_t space : {1u, 2u}) {
                const auto block = streamFormat(type, w, height, 14, space, 1);
                setSimd("portable");
                const auto portableFrame = encodePlanar(h.get(), block, pic);
                setSimd("");
                const auto frame = encodePlanar(h.get(), block, pic);
                EXPECT_EQ(frame, portableFrame) << "type " << type << " encoded" << (noise ? ", noise" : "");
                for (const uint32_t out : outputs) {
                    for (const uint32_t outSpace : {1u, 2u}) {
                        const CodecFormat wanted = record(out, 0, outSpace, 3 - space);
                        const uint32_t stride = rowBytes(out, w) + 4;
                        const auto reference = decodeWith("reference", h.get(), block, frame, wanted, height, stride);
                        const auto portable = decodeWith("portable", h.get(), block, frame, wanted, height, stride);
                        const auto best = decodeWith("", h.get(), block, frame, wanted, height, stride);
                        EXPECT_TRUE(reference == portable && portable == best)
                            << "type " << type << " into " << out << ", colour space " << space << " -> " << outSpace
                            << (noise ? ", noise" : "");
                    }
                }
            }
        }
    }
    setSimd("");
}
