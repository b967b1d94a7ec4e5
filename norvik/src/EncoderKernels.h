// The encoder's passes over a slice-plane, built twice from one source
// (EncoderKernels.inc): for any processor and for AVX2, chosen at run time
// through simdLevel(). Both give the same results.
#pragma once

#include <cstddef>
#include <cstdint>

#include "BitIo.h"
#include "SimdKernels.h"

namespace norvik {

// methodSums: the sums of the zigzagged residuals of left, gradient and median
// prediction over a slice-plane of `rows` rows of w n-bit samples, indexed by
// method (sums[kStored] stays 0).
// residuals: the zigzagged residuals of one method into z (the first row by left
// prediction).
// riceBits: the exact coded bits of z[0..count) for Rice parameters first ..
// first + 3 (those above `last` counted as `last`).
// writeCodes: the Rice codes of z[0..count) with parameter k for n-bit samples
// (written by hand for each variant: the AVX2 one makes eight codes at a time).
#define NORVIK_ENCODER_KERNEL_DECLS                                                                         \
    void methodSums(const uint16_t* s, uint32_t w, uint32_t rows, unsigned n, uint64_t sums[4]);            \
    void residuals(const uint16_t* s, uint32_t w, uint32_t rows, unsigned n, uint32_t method, uint16_t* z); \
    void riceBits(const uint16_t* z, size_t count, unsigned first, unsigned last, unsigned n, uint64_t bits[4]); \
    void writeCodes(const uint16_t* z, size_t count, unsigned k, unsigned n, BitWriter& writer)

namespace portable {
NORVIK_ENCODER_KERNEL_DECLS;
}
namespace avx2 {
NORVIK_ENCODER_KERNEL_DECLS;
}

}  // namespace norvik
