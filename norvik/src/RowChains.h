// The serial part of decoding a row: Rice codes and prediction, sample after
// sample. Built twice from RowChains.inc, for any processor and for AVX2-class
// processors (whose bit-manipulation instructions shorten each step); both give
// the same samples.
#pragma once

#include <cstdint>

#include "BitIo.h"
#include "FrameLayout.h"
#include "SimdKernels.h"

namespace norvik {

// One row of one slice-plane: its reader, Rice parameter and the parameter's
// table of short codes, the row above (null for the first row) and the output.
struct Lane {
    BitReader* reader;
    unsigned k;
    const int32_t* table;  // riceTable(k)
    const uint16_t* above;
    uint16_t* out;
};

// `method` is kLeft, kGradient or kMedian (kLeft for a first row); n is the depth.
#define NORVIK_ROW_CHAIN_DECLS                                                                                  \
    void decodeRowChain(int method, Lane lane, unsigned n, uint32_t w);                                        \
    void decodeRowChains(int methodA, int methodB, Lane a, Lane b, unsigned n, uint32_t w)

namespace portable {
NORVIK_ROW_CHAIN_DECLS;
}
namespace avx2 {
NORVIK_ROW_CHAIN_DECLS;
}

}  // namespace norvik
