// The colour-model change of decoded rows: exact double-precision evaluation,
// and a fixed-point form that gives the same results much faster.
#pragma once

#include <cstdint>

#include "Colour.h"
#include "CpuFeatures.h"
#include "SimdKernels.h"

namespace norvik {

// Component j of the map at one pixel, rounded to nearest and clamped to
// 0..fullScale: the definition every faster path must reproduce.
uint16_t exactComponent(const Affine& a, int j, const double in[3], uint16_t fullScale);

// Applies an Affine map to rows of n-bit components. Built once per begun
// decompression, then read-only (apply() may run on several threads at once).
class AffineRows {
public:
    AffineRows() = default;
    AffineRows(const Affine& a, unsigned inBits, uint16_t fullScale, SimdLevel simd);

    // out[j][x] = exactComponent(a, j, in[.][x]); `nearTie` is scratch of width bytes.
    void apply(const uint16_t* const in[3], uint16_t* const out[3], uint32_t width, uint8_t* nearTie) const;
    // For pixel pairs sharing one chroma sample (see applyFixedAffinePairs in
    // SimdKernels.h): outY[x] = exactComponent(a, 0, pixel x), outCb[i] and outCr[i]
    // the rounded mean of components 1 and 2 of pixels 2i and 2i + 1. `nearTie`
    // is scratch of `pairs` bytes.
    void applyPairs(const uint16_t* y, const uint16_t* cb, const uint16_t* cr, uint32_t pairs, uint16_t* outY,
                    uint16_t* outCb, uint16_t* outCr, uint8_t* nearTie) const;

private:
    Affine m_exact;
    uint16_t m_fullScale = 255;
    bool m_fixedUsable = false;  // the fixed-point form fits in 32 bits with rare near-ties
    SimdLevel m_simd = SimdLevel::Portable;
    FixedAffineCoefficients m_fixed{};
};

}  // namespace norvik
