// Which instruction-set variant of the library's SIMD kernels runs.
#pragma once

namespace norvik {

// Reference: portable code, every Rice code read bit field by bit field (no
// table of short codes), and the colour-matrix change in double precision only
// (the definitions the faster forms must reproduce). Avx2: AVX2, BMI1
// and BMI2.
enum class SimdLevel { Reference, Portable, Avx2 };

// The best level the processor supports and the build provides, capped by the
// environment variable NORVIK_SIMD ("reference" or "portable"), which tests use
// to run every path. Read on each call: callers take it once per begun decode.
SimdLevel simdLevel();

}  // namespace norvik
