// The AVX2 conversion kernel. Every function here is compiled for AVX2 by its
// attribute (the rest of the program keeps the x86-64 baseline), so nothing here
// may run before audioKernelAvailable(AudioKernel::Avx2) has said yes.
//
// Eight consecutive samples are loaded, sign-extended to 32 bits, converted and
// scaled at once; mono is stored as it is; stereo is split by shifts of each
// frame's 16- or 32-bit word for 8- and 16-bit samples, by shuffles for 24- and
// 32-bit ones; any other channel count goes through transposes of 8 frames x 8
// channels. Loads never reach past the frames asked for: the frames a whole
// vector would overrun are converted one sample at a time.
#include <immintrin.h>

#include "AudioKernels.h"

namespace norvikhost::audiokernels {

namespace {

// How far ahead of the stores the output lines are fetched into the cache. Without
// it the stores wait for their lines: measured, stereo runs at almost twice the
// speed with it when the output is larger than the first-level cache. A prefetch
// past a buffer's end is harmless (it never faults).
constexpr std::uint32_t kPrefetchFloats = 128;

// Stores eight floats at `to` and asks for the cache line a little further on.
[[gnu::target("avx2")]] inline void store8(float* to, __m256 values) {
    _mm_prefetch(reinterpret_cast<const char*>(to + kPrefetchFloats), _MM_HINT_T0);
    _mm256_storeu_ps(to, values);
}

// Eight consecutive samples of Bytes bytes at `p`, as floats times `scale`.
template <int Bytes>
[[gnu::target("avx2")]] __m256 load8(const unsigned char* p, __m256 scale) {
    __m256i value;
    if constexpr (Bytes == 1) {
        value = _mm256_cvtepi8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)));
    } else if constexpr (Bytes == 2) {
        value = _mm256_cvtepi16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    } else if constexpr (Bytes == 4) {
        value = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    } else {
        // Bytes 0..11 into the low half, 12..23 into the high half (loaded from
        // byte 8 so as to end at byte 24); each sample's three bytes go to the top
        // of a 32-bit lane, and an arithmetic shift brings the sign down.
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
        const __m256i both = _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
        const __m256i order = _mm256_setr_epi8(-1, 0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11,  //
                                               -1, 4, 5, 6, -1, 7, 8, 9, -1, 10, 11, 12, -1, 13, 14, 15);
        value = _mm256_srai_epi32(_mm256_shuffle_epi8(both, order), 8);
    }
    return _mm256_mul_ps(_mm256_cvtepi32_ps(value), scale);
}

// Rows of 8 floats become columns: r[i][j] and r[j][i] change places.
[[gnu::target("avx2"), gnu::always_inline]] inline void transpose8(__m256 r[8]) {
    __m256 t[8], u[8];
    for (int i = 0; i < 8; i += 2) {
        t[i] = _mm256_unpacklo_ps(r[i], r[i + 1]);
        t[i + 1] = _mm256_unpackhi_ps(r[i], r[i + 1]);
    }
    for (int i = 0; i < 8; i += 4)
        for (int k = 0; k < 2; ++k) {
            u[i + 2 * k] = _mm256_shuffle_ps(t[i + k], t[i + k + 2], 0x44);
            u[i + 2 * k + 1] = _mm256_shuffle_ps(t[i + k], t[i + k + 2], 0xEE);
        }
    for (int i = 0; i < 4; ++i) {
        r[i] = _mm256_permute2f128_ps(u[i], u[i + 4], 0x20);
        r[i + 4] = _mm256_permute2f128_ps(u[i], u[i + 4], 0x31);
    }
}

// Frames [from, frames) one sample at a time.
template <int Bytes>
void convertRest(const unsigned char* in, float** out, std::uint32_t channels, std::uint32_t from,
                 std::uint32_t frames) {
    for (std::uint32_t f = from; f < frames; ++f)
        for (std::uint32_t c = 0; c < channels; ++c)
            out[c][f] = float(loadSample<Bytes>(in + (std::size_t(f) * channels + c) * Bytes)) * kSampleScale<Bytes>;
}

template <int Bytes>
[[gnu::target("avx2")]] void mono(const unsigned char* in, float** out, std::uint32_t frames) {
    const __m256 scale = _mm256_set1_ps(kSampleScale<Bytes>);
    float* const to = out[0];
    std::uint32_t f = 0;
    for (; f + 8 <= frames; f += 8) store8(to + f, load8<Bytes>(in + std::size_t(f) * Bytes, scale));
    convertRest<Bytes>(in, out, 1, f, frames);
}

// Eight stereo frames of 8- or 16-bit samples as two vectors of 32-bit integers,
// left and right, taken from each frame's little-endian word by shifts alone.
template <int Bytes>
[[gnu::target("avx2")]] void splitPairs(const unsigned char* p, __m256i& left, __m256i& right) {
    constexpr int kBits = 8 * Bytes;
    __m256i frames;  // one frame per 32-bit lane, the right sample above the left, sign-extended
    if constexpr (Bytes == 1)
        frames = _mm256_cvtepi16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    else
        frames = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    left = _mm256_srai_epi32(_mm256_slli_epi32(frames, 32 - kBits), 32 - kBits);
    right = _mm256_srai_epi32(frames, kBits);
}

template <int Bytes>
[[gnu::target("avx2")]] void stereo(const unsigned char* in, float** out, std::uint32_t frames) {
    const __m256 scale = _mm256_set1_ps(kSampleScale<Bytes>);
    float* const left = out[0];
    float* const right = out[1];
    std::uint32_t f = 0;
    for (; f + 8 <= frames; f += 8) {
        const unsigned char* p = in + std::size_t(f) * 2 * Bytes;
        __m256 l, r;
        if constexpr (Bytes <= 2) {
            __m256i li, ri;
            splitPairs<Bytes>(p, li, ri);
            l = _mm256_mul_ps(_mm256_cvtepi32_ps(li), scale);
            r = _mm256_mul_ps(_mm256_cvtepi32_ps(ri), scale);
        } else {
            // a = L0 R0 L1 R1 | L2 R2 L3 R3 and b = L4 R4 L5 R5 | L6 R6 L7 R7 give
            // L0 L1 L4 L5 | L2 L3 L6 L7 (and the same for R); then the middle quarters swap.
            const __m256 a = load8<Bytes>(p, scale), b = load8<Bytes>(p + 8 * Bytes, scale);
            const __m256d lq = _mm256_castps_pd(_mm256_shuffle_ps(a, b, 0x88));
            const __m256d rq = _mm256_castps_pd(_mm256_shuffle_ps(a, b, 0xDD));
            l = _mm256_castpd_ps(_mm256_permute4x64_pd(lq, 0xD8));
            r = _mm256_castpd_ps(_mm256_permute4x64_pd(rq, 0xD8));
        }
        store8(left + f, l);
        store8(right + f, r);
    }
    convertRest<Bytes>(in, out, 2, f, frames);
}

// Any channel count: blocks of 8 frames, each read as rows of 8 samples from the
// start of a group of 8 channels (past the frame's last channel when fewer are
// left, into the frames after it) and transposed into 8 frames of 8 channels.
template <int Bytes>
[[gnu::target("avx2")]] void transposed(const unsigned char* in, float** out, std::uint32_t channels,
                                        std::uint32_t frames) {
    const __m256 scale = _mm256_set1_ps(kSampleScale<Bytes>);
    const std::uint32_t lastGroup = (channels - 1) / 8 * 8;
    // The block at frame f reads up to sample (f + 7) x channels + lastGroup + 8.
    std::uint32_t blocks = frames / 8;
    while (blocks > 0 && std::size_t(8 * blocks - 1) * channels + lastGroup + 8 > std::size_t(frames) * channels)
        --blocks;
    for (std::uint32_t f = 0; f < 8 * blocks; f += 8)
        for (std::uint32_t c0 = 0; c0 < channels; c0 += 8) {
            __m256 rows[8];
            for (std::uint32_t i = 0; i < 8; ++i)
                rows[i] = load8<Bytes>(in + ((f + i) * std::size_t(channels) + c0) * Bytes, scale);
            transpose8(rows);
            const std::uint32_t n = channels - c0 < 8 ? channels - c0 : 8;
            for (std::uint32_t c = 0; c < n; ++c) store8(out[c0 + c] + f, rows[c]);
        }
    convertRest<Bytes>(in, out, channels, 8 * blocks, frames);
}

template <int Bytes>
[[gnu::target("avx2")]] void uninterleave(const unsigned char* in, float** out, std::uint32_t channels,
                                          std::uint32_t frames) {
    if (channels == 1)
        mono<Bytes>(in, out, frames);
    else if (channels == 2)
        stereo<Bytes>(in, out, frames);
    else
        transposed<Bytes>(in, out, channels, frames);
}

}  // namespace

void uninterleaveAvx2(int bytes, const unsigned char* in, float** channels, std::uint32_t channelCount,
                      std::uint32_t frames) {
    switch (bytes) {
        case 1: uninterleave<1>(in, channels, channelCount, frames); break;
        case 2: uninterleave<2>(in, channels, channelCount, frames); break;
        case 3: uninterleave<3>(in, channels, channelCount, frames); break;
        default: uninterleave<4>(in, channels, channelCount, frames); break;
    }
}

}  // namespace norvikhost::audiokernels
