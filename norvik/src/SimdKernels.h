// Row kernels built twice from one source (AffineKernel.inc): once for any
// processor and once for AVX2, chosen at run time through simdLevel(). Every
// variant gives the same bytes.
#pragma once

#include <cstdint>

// The AVX2 variant is built with GCC or clang on x86-64. For Windows, where
// MinGW does not keep 32-byte stack alignment for spilled vectors, the build
// has the assembler write every aligned vector move as an unaligned one.
#if (defined(__x86_64__) || defined(_M_X64)) && (defined(__GNUC__) || defined(__clang__))
#define NORVIK_HAVE_AVX2_KERNELS 1
#else
#define NORVIK_HAVE_AVX2_KERNELS 0
#endif

namespace norvik {

// An affine map on three components in fixed point: out[j] = (sum_i m[j][i] *
// in[i] + add[j]) >> shift, clamped to 0..full. `add` includes the rounding
// half; a sum whose fraction lies within `margin` of a rounding boundary is
// reported as near a tie (the caller then redoes it exactly).
struct FixedAffineCoefficients {
    int32_t m[3][3];
    int32_t add[3];
    unsigned shift;
    int32_t margin;
    int32_t full;
};

// Maps in[0..2][0..width) to out[0..2][0..width); nearTie[x] becomes 1 where
// any component of pixel x was near a tie, else 0. Returns the number of such pixels.
#define NORVIK_AFFINE_KERNEL_DECL                                                                                 \
    uint32_t applyFixedAffine(const FixedAffineCoefficients& k, const uint16_t* const in[3], uint16_t* const out[3], \
                              uint32_t width, uint8_t* nearTie)

// The same map on pairs of pixels that share one chroma sample (4:2:2 or 4:2:0
// rows: y[0..2*pairs), cb and cr [0..pairs)), for a 4:2:2 output: outY gets
// both pixels' first component, outCb and outCr the rounded mean of the pair's
// second and third: (a + b + 1) >> 1. nearTie[i] becomes 1 where any component of
// either pixel of pair i was near a tie, else 0. Returns the number of such pairs.
#define NORVIK_AFFINE_PAIRS_KERNEL_DECL                                                                          \
    uint32_t applyFixedAffinePairs(const FixedAffineCoefficients& k, const uint16_t* y, const uint16_t* cb,        \
                                   const uint16_t* cr, uint32_t pairs, uint16_t* outY, uint16_t* outCb,            \
                                   uint16_t* outCr, uint8_t* nearTie)

namespace portable {
NORVIK_AFFINE_KERNEL_DECL;
NORVIK_AFFINE_PAIRS_KERNEL_DECL;
}
namespace avx2 {
NORVIK_AFFINE_KERNEL_DECL;
NORVIK_AFFINE_PAIRS_KERNEL_DECL;
}

}  // namespace norvik
