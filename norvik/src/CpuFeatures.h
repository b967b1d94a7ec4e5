// Which instruction-set variant of the library's SIMD kernels runs.
#pragma once

namespace norvik {

enum class SimdLevel { Portable, Avx2 };

// The best level the processor supports and the build provides, capped by the
// environment variable NORVIK_SIMD ("portable" or "avx2"), which tests use to
// run every path. Read on each call: callers take it once per begun decode.
SimdLevel simdLevel();

}  // namespace norvik
