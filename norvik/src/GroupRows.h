// Decoding up to sixteen slices of a frame together on processors with AVX2.
// The serial chain of prediction (each sample waits for its left neighbour) is
// the slowest part of decoding one slice; sixteen slices have sixteen
// independent chains, which run side by side in the 16-bit lanes of one vector. A row
// of the group is kept transposed: sample i of lane s at [i * kGroupLanes + s].
// Each step gives the same samples as decoding the slices one by one.
#pragma once

#include <cstdint>

#include "BitIo.h"
#include "SimdKernels.h"

namespace norvik {

inline constexpr unsigned kGroupLanes = 16;

// One slice-plane whose Rice-coded residuals are read.
struct ResidualLane {
    BitReader* reader;
    unsigned k;
    const int32_t* table;  // riceTable(k)
};

// How each lane of a transposed row is predicted: 0xffff in `median` or
// `gradient` for lanes of those methods, 0 in both for left prediction.
struct GroupMethods {
    uint16_t median[kGroupLanes];
    uint16_t gradient[kGroupLanes];
};

#if NORVIK_HAVE_AVX2_KERNELS
namespace avx2 {

// Reads the residuals of one row of w samples of `count` (1, 2 or 4)
// slice-planes of n-bit samples, side by side so that the wait for each code is
// hidden behind the others'. Lane l's sample i goes to out[i * kGroupLanes + l].
void readResidualRows(const ResidualLane* lanes, unsigned count, unsigned n, uint32_t w, int16_t* out);

// Turns the transposed residuals of a row into samples (curT), predicting from
// the transposed row above (aboveT), or for a first row from 2^(n-1) and the
// left neighbour. Reads and writes w samples per lane.
void predictGroupRow(const int16_t* residuals, const uint16_t* aboveT, const GroupMethods& methods, unsigned n,
                     uint32_t w, uint16_t* curT);

// Copies lane s of the transposed row curT into rows[s], for every lane;
// rows[s] must hold w rounded up to 8 samples.
void untransposeGroupRow(const uint16_t* curT, uint32_t w, uint16_t* const rows[kGroupLanes]);

}  // namespace avx2
#endif

}  // namespace norvik
