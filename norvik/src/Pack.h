// Writers of output rows from component rows already at the output's depth.
#pragma once

#include <cstdint>

namespace norvik {

// Types 4, 5 and 11 from a Y row of `width` samples and U, V rows of
// (width + 1) / 2 samples. A pixel pair cut by the row's end repeats its last
// pixel; a v210 group cut by the row's end repeats the last pixel and chroma pair.
void pack422(uint32_t type, const uint16_t* y, const uint16_t* u, const uint16_t* v, uint32_t width, uint8_t* dst);

// The 4:4:4 types (1, 2, 15, 16, 19, 31, 32, 49, 50) from components c[0..2]
// (R, G, B or Y, U, V) and c[3] (alpha); `fill` is the value of X components.
void pack444(uint32_t type, const uint16_t* const c[4], uint16_t fill, uint32_t width, uint8_t* dst);

// Types 1, 2, 16 and 19 straight from 8-bit RGB planes (G, B - G, R - G, A).
void packRgb8(uint32_t type, const uint16_t* const planes[4], bool alpha, uint32_t width, uint8_t* dst);

}  // namespace norvik
