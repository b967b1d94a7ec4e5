// The Audio Suite's conversions from interleaved integer samples to one float
// buffer per channel: a sample becomes the signed sample divided by 2^(bits-1).
// 8-bit samples arrive signed (the importer has already removed the offset of
// 128); 16-, 24- and 32-bit samples are little-endian, 24-bit in 3 bytes.
#pragma once

#include <cstdint>

namespace norvikhost {

// The code that converts: loops the compiler vectorises for the x86-64 baseline
// (SSE2), or AVX2 code, taken when the processor has it. Both give the same
// floats, bit for bit.
enum class AudioKernel { Baseline, Avx2 };

// Whether this processor (and operating system) can run `kernel`.
bool audioKernelAvailable(AudioKernel kernel);

// `source` holds channels * frames samples of bits/8 bytes each, in any
// alignment; `channels` points at `channels` buffers of `frames` floats.
// bits is 8, 16, 24 or 32 and channelCount at most 32; returns false (writing
// nothing) otherwise. Converts with the fastest kernel available.
bool uninterleaveToFloat(int bits, const void* source, float** channels, std::uint32_t channelCount,
                         std::uint32_t frames);

// The same with a chosen kernel, which must be available (for tests and measurements).
bool uninterleaveToFloat(AudioKernel kernel, int bits, const void* source, float** channels, std::uint32_t channelCount,
                         std::uint32_t frames);

}  // namespace norvikhost
