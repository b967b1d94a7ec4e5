// What the two conversion kernels of AudioConvert share: the scalar sample load
// (for the frames a vector loop leaves over) and the AVX2 kernel's entry.
#pragma once

#include <cstdint>
#include <cstring>

namespace norvikhost::audiokernels {

// One little-endian sample of Bytes bytes, sign-extended.
template <int Bytes>
std::int32_t loadSample(const unsigned char* p) {
    if constexpr (Bytes == 1) return static_cast<signed char>(p[0]);
    if constexpr (Bytes == 2) return static_cast<std::int16_t>(p[0] | p[1] << 8);
    // 24 and 32 bits: assemble at the top of 32 bits, then shift the sign down.
    std::uint32_t value = 0;
    for (int i = 0; i < Bytes; ++i) value |= std::uint32_t(p[i]) << (8 * (4 - Bytes + i));
    return static_cast<std::int32_t>(value) >> (8 * (4 - Bytes));
}

// 1 / 2^(8 Bytes - 1): exact, so a sample times it is the correctly rounded quotient.
template <int Bytes>
constexpr float kSampleScale = 1.0f / float(std::int64_t(1) << (8 * Bytes - 1));

// The AVX2 kernel; call only when the processor has AVX2. `bytes` is 1 to 4,
// channelCount 1 to 32; the arguments are otherwise those of uninterleaveToFloat.
void uninterleaveAvx2(int bytes, const unsigned char* in, float** channels, std::uint32_t channelCount,
                      std::uint32_t frames);

}  // namespace norvikhost::audiokernels
