#include "norvikhost/AudioConvert.h"

namespace norvikhost {

namespace {

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

// The sample divided by 2^(bits-1). float(sample) is exact up to 24 bits and
// correctly rounded for 32; the power-of-two scale is exact, so the result is
// the correctly rounded quotient for every width.
template <int Bytes>
void uninterleave(const unsigned char* in, float** channels, std::uint32_t channelCount, std::uint32_t frames) {
    constexpr float scale = 1.0f / float(std::int64_t(1) << (8 * Bytes - 1));
    for (std::uint32_t f = 0; f < frames; ++f)
        for (std::uint32_t c = 0; c < channelCount; ++c, in += Bytes)
            channels[c][f] = float(loadSample<Bytes>(in)) * scale;
}

}  // namespace

bool uninterleaveToFloat(int bits, const void* source, float** channels, std::uint32_t channelCount,
                         std::uint32_t frames) {
    const auto* in = static_cast<const unsigned char*>(source);
    switch (bits) {
        case 8: uninterleave<1>(in, channels, channelCount, frames); return true;
        case 16: uninterleave<2>(in, channels, channelCount, frames); return true;
        case 24: uninterleave<3>(in, channels, channelCount, frames); return true;
        case 32: uninterleave<4>(in, channels, channelCount, frames); return true;
        default: return false;
    }
}

}  // namespace norvikhost
