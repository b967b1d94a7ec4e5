// The serial part of decoding a row: Rice codes and prediction, sample after
// sample, for any processor (processors with AVX2 decode slices in groups
// instead, GroupRows.h); one slice or two in lockstep.
#pragma once

#include <cstdint>

#include "BitIo.h"
#include "FrameLayout.h"

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
void decodeRowChain(int method, Lane lane, unsigned n, uint32_t w);
void decodeRowChains(int methodA, int methodB, Lane a, Lane b, unsigned n, uint32_t w);

}  // namespace norvik
