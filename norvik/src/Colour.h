// Colour model conversions as affine maps on three components, in double precision.
#pragma once

#include <cstdint>

#include "Types.h"

namespace norvik {

// out[j] = sum_i m[j][i] * in[i] + off[j]
struct Affine {
    double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    double off[3] = {0, 0, 0};
};

// Applies b after a.
Affine compose(const Affine& b, const Affine& a);

// The map from components of `from` (R, G, B or Y, U, V at n bits; greyscale is
// Y with mid-grey chroma) to components of `to` at n bits, with the colour spaces
// (1 Rec.601, 2 Rec.709) and ranges (1 limited, 2 full) of each side. RGB is
// always full range.
Affine modelTransform(Model from, uint32_t fromSpace, uint32_t fromRange, Model to, uint32_t toSpace, uint32_t toRange,
                      unsigned bits);

}  // namespace norvik
