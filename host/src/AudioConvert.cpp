#include "norvikhost/AudioConvert.h"

#include <cstring>

namespace norvikhost {

namespace {

// Frames converted per tile: the tile's integers stay in the first-level cache
// between the two passes.
constexpr std::uint32_t kTileFrames = 256;
constexpr std::uint32_t kMaxChannels = 32;

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

std::uint32_t load32(const unsigned char* p) {
    std::uint32_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// First pass: `count` samples in file order into 32-bit integers. Written so that
// the compiler turns each loop into vector code; 24-bit samples are taken four at
// a time out of three 32-bit words.
template <int Bytes>
void widen(const unsigned char* in, std::int32_t* out, std::uint32_t count) {
    std::uint32_t i = 0;
    if constexpr (Bytes == 3) {
        for (; i + 4 <= count; i += 4, in += 12) {
            const std::uint32_t a = load32(in), b = load32(in + 4), c = load32(in + 8);
            out[i] = std::int32_t(a << 8) >> 8;
            out[i + 1] = std::int32_t(((a >> 24) | (b << 8)) << 8) >> 8;
            out[i + 2] = std::int32_t(((b >> 16) | (c << 16)) << 8) >> 8;
            out[i + 3] = std::int32_t(c) >> 8;
        }
    }
    for (; i < count; ++i, in += Bytes) out[i] = loadSample<Bytes>(in);
}

// Second pass: channel by channel, the tile's samples over 2^(bits-1). float(x)
// is exact up to 24 bits and correctly rounded for 32; the power-of-two scale is
// exact, so each result is the correctly rounded quotient.
void spread(const std::int32_t* tile, float scale, float* const* out, std::uint32_t channels, std::uint32_t frames) {
    for (std::uint32_t c = 0; c < channels; ++c) {
        float* __restrict to = out[c];
        const std::int32_t* __restrict from = tile + c;
        for (std::uint32_t f = 0; f < frames; ++f) to[f] = float(from[std::size_t(f) * channels]) * scale;
    }
}

template <int Bytes>
void uninterleave(const unsigned char* in, float** channels, std::uint32_t channelCount, std::uint32_t frames) {
    constexpr float scale = 1.0f / float(std::int64_t(1) << (8 * Bytes - 1));
    alignas(64) std::int32_t tile[kTileFrames * kMaxChannels];
    float* at[kMaxChannels];
    for (std::uint32_t f0 = 0; f0 < frames; f0 += kTileFrames) {
        const std::uint32_t n = frames - f0 < kTileFrames ? frames - f0 : kTileFrames;
        widen<Bytes>(in + std::size_t(f0) * channelCount * Bytes, tile, n * channelCount);
        for (std::uint32_t c = 0; c < channelCount; ++c) at[c] = channels[c] + f0;
        spread(tile, scale, at, channelCount, n);
    }
}

}  // namespace

bool uninterleaveToFloat(int bits, const void* source, float** channels, std::uint32_t channelCount,
                         std::uint32_t frames) {
    if (channelCount > kMaxChannels) return false;
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
