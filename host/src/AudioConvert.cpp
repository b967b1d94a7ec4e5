#include "norvikhost/AudioConvert.h"

#include <cstring>

#include "AudioKernels.h"

namespace norvikhost {

namespace {

using audiokernels::kSampleScale;
using audiokernels::loadSample;

// Frames converted per tile: the tile's integers stay in the first-level cache
// between the two passes.
constexpr std::uint32_t kTileFrames = 256;
constexpr std::uint32_t kMaxChannels = 32;

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
    alignas(64) std::int32_t tile[kTileFrames * kMaxChannels];
    float* at[kMaxChannels];
    for (std::uint32_t f0 = 0; f0 < frames; f0 += kTileFrames) {
        const std::uint32_t n = frames - f0 < kTileFrames ? frames - f0 : kTileFrames;
        widen<Bytes>(in + std::size_t(f0) * channelCount * Bytes, tile, n * channelCount);
        for (std::uint32_t c = 0; c < channelCount; ++c) at[c] = channels[c] + f0;
        spread(tile, kSampleScale<Bytes>, at, channelCount, n);
    }
}

void uninterleaveBaseline(int bytes, const unsigned char* in, float** channels, std::uint32_t channelCount,
                          std::uint32_t frames) {
    switch (bytes) {
        case 1: uninterleave<1>(in, channels, channelCount, frames); break;
        case 2: uninterleave<2>(in, channels, channelCount, frames); break;
        case 3: uninterleave<3>(in, channels, channelCount, frames); break;
        default: uninterleave<4>(in, channels, channelCount, frames); break;
    }
}

}  // namespace

bool audioKernelAvailable(AudioKernel kernel) {
    // GCC's check covers the operating system's saving of the wide registers too.
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return kernel == AudioKernel::Baseline || avx2;
}

bool uninterleaveToFloat(AudioKernel kernel, int bits, const void* source, float** channels, std::uint32_t channelCount,
                         std::uint32_t frames) {
    if (channelCount > kMaxChannels || (bits != 8 && bits != 16 && bits != 24 && bits != 32)) return false;
    if (channelCount == 0) return true;
    const auto* in = static_cast<const unsigned char*>(source);
    if (kernel == AudioKernel::Avx2)
        audiokernels::uninterleaveAvx2(bits / 8, in, channels, channelCount, frames);
    else
        uninterleaveBaseline(bits / 8, in, channels, channelCount, frames);
    return true;
}

bool uninterleaveToFloat(int bits, const void* source, float** channels, std::uint32_t channelCount,
                         std::uint32_t frames) {
    static const AudioKernel best = audioKernelAvailable(AudioKernel::Avx2) ? AudioKernel::Avx2 : AudioKernel::Baseline;
    return uninterleaveToFloat(best, bits, source, channels, channelCount, frames);
}

}  // namespace norvikhost
