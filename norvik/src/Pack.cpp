#include "Pack.h"

#include <algorithm>
#include <cstring>

// SSE2 is part of every x86-64 processor.
#if defined(__SSE2__)
#define NORVIK_PACK_SSE2 1
#include <emmintrin.h>
#else
#define NORVIK_PACK_SSE2 0
#endif

namespace norvik {

namespace {

inline void store32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }

inline void store16x4(uint8_t* p, uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    const uint64_t v = static_cast<uint64_t>(a) | static_cast<uint64_t>(b) << 16 | static_cast<uint64_t>(c) << 32 |
                       static_cast<uint64_t>(d) << 48;
    std::memcpy(p, &v, 8);
}

#if NORVIK_PACK_SSE2
// Eight pairs at a time: the samples narrowed to bytes (they are 8-bit values),
// chroma interleaved, then luma with chroma.
template <bool Uyvy>
uint32_t packPairsSse2(const uint16_t* y, const uint16_t* u, const uint16_t* v, uint32_t pairs, uint8_t* dst) {
    uint32_t i = 0;
    for (; i + 8 <= pairs; i += 8) {
        const auto load = [](const uint16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
        const __m128i luma = _mm_packus_epi16(load(y + 2 * i), load(y + 2 * i + 8));
        const __m128i uv = _mm_packus_epi16(load(u + i), load(v + i));
        const __m128i chroma = _mm_unpacklo_epi8(uv, _mm_srli_si128(uv, 8));  // cb0 cr0 cb1 cr1 ...
        const __m128i first = Uyvy ? _mm_unpacklo_epi8(chroma, luma) : _mm_unpacklo_epi8(luma, chroma);
        const __m128i second = Uyvy ? _mm_unpackhi_epi8(chroma, luma) : _mm_unpackhi_epi8(luma, chroma);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * i), first);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * i + 16), second);
    }
    return i;
}
#endif

template <bool Uyvy>
void packPairs(const uint16_t* y, const uint16_t* u, const uint16_t* v, uint32_t width, uint8_t* dst) {
    const uint32_t pairs = width / 2;
#if NORVIK_PACK_SSE2
    for (uint32_t i = packPairsSse2<Uyvy>(y, u, v, pairs, dst); i < pairs; ++i) {
#else
    for (uint32_t i = 0; i < pairs; ++i) {
#endif
        uint32_t both;  // a pair's luma samples as one word, which the compiler vectorises
        std::memcpy(&both, y + 2 * i, sizeof both);
        const uint32_t y0 = both & 0xFFFFu, y1 = both >> 16, cb = u[i], cr = v[i];
        const uint32_t word = Uyvy ? cb | y0 << 8 | cr << 16 | y1 << 24 : y0 | cb << 8 | y1 << 16 | cr << 24;
        store32(dst + 4 * i, word);
    }
    if (width % 2 != 0) {
        const uint32_t y0 = y[width - 1], cb = u[pairs], cr = v[pairs];
        const uint32_t word = Uyvy ? cb | y0 << 8 | cr << 16 | y0 << 24 : y0 | cb << 8 | y0 << 16 | cr << 24;
        store32(dst + 4 * pairs, word);
    }
}

void packV210Group(const uint32_t yy[6], const uint32_t cb[3], const uint32_t cr[3], uint8_t* dst) {
    store32(dst, cb[0] | yy[0] << 10 | cr[0] << 20);
    store32(dst + 4, yy[1] | cb[1] << 10 | yy[2] << 20);
    store32(dst + 8, cr[1] | yy[3] << 10 | cb[2] << 20);
    store32(dst + 12, yy[4] | cr[2] << 10 | yy[5] << 20);
}

void packV210(const uint16_t* y, const uint16_t* u, const uint16_t* v, uint32_t width, uint8_t* dst) {
    const uint32_t full = width / 6;
    uint32_t yy[6], cb[3], cr[3];
    for (uint32_t g = 0; g < full; ++g) {
        const uint16_t* py = y + 6 * g;
        const uint16_t* pu = u + 3 * g;
        const uint16_t* pv = v + 3 * g;
        for (int i = 0; i < 6; ++i) yy[i] = py[i];
        for (int i = 0; i < 3; ++i) {
            cb[i] = pu[i];
            cr[i] = pv[i];
        }
        packV210Group(yy, cb, cr, dst + 16 * g);
    }
    if (width % 6 == 0) return;
    const uint32_t cw = (width + 1) / 2;
    for (uint32_t i = 0; i < 6; ++i) yy[i] = y[std::min(6 * full + i, width - 1)];
    for (uint32_t i = 0; i < 3; ++i) {
        cb[i] = u[std::min(3 * full + i, cw - 1)];
        cr[i] = v[std::min(3 * full + i, cw - 1)];
    }
    packV210Group(yy, cb, cr, dst + 16 * full);
}

}  // namespace

void pack422(uint32_t type, const uint16_t* y, const uint16_t* u, const uint16_t* v, uint32_t width, uint8_t* dst) {
    if (type == 4)
        packPairs<false>(y, u, v, width, dst);
    else if (type == 5)
        packPairs<true>(y, u, v, width, dst);
    else
        packV210(y, u, v, width, dst);
}

void pack444(uint32_t type, const uint16_t* const c[4], uint16_t fill, uint32_t width, uint8_t* dst) {
    const uint16_t *c0 = c[0], *c1 = c[1], *c2 = c[2], *a = c[3];
    for (uint32_t x = 0; x < width; ++x) {
        switch (type) {
            case 1: store32(dst + 4 * x, c2[x] | c1[x] << 8 | c0[x] << 16 | 0xFFu << 24); break;
            case 2: store32(dst + 4 * x, c2[x] | c1[x] << 8 | c0[x] << 16 | static_cast<uint32_t>(a[x]) << 24); break;
            case 16: store32(dst + 4 * x, 0xFFu | c0[x] << 8 | c1[x] << 16 | static_cast<uint32_t>(c2[x]) << 24); break;
            case 19: store32(dst + 4 * x, a[x] | c0[x] << 8 | c1[x] << 16 | static_cast<uint32_t>(c2[x]) << 24); break;
            case 15: store32(dst + 4 * x, c2[x] | c1[x] << 10 | c0[x] << 20); break;
            case 31: store16x4(dst + 8 * x, c2[x], c1[x], c0[x], a[x]); break;
            case 32: store16x4(dst + 8 * x, c2[x], c1[x], c0[x], fill); break;
            case 49: store32(dst + 4 * x, c2[x] | c1[x] << 8 | c0[x] << 16 | 0xFFu << 24); break;
            default: store32(dst + 4 * x, c2[x] | c1[x] << 8 | c0[x] << 16 | static_cast<uint32_t>(a[x]) << 24); break;
        }
    }
}

void packRgb8(uint32_t type, const uint16_t* const planes[4], bool alpha, uint32_t width, uint8_t* dst) {
    const uint16_t *pg = planes[0], *pb = planes[1], *pr = planes[2], *pa = planes[3];
    for (uint32_t x = 0; x < width; ++x) {
        const uint32_t g = pg[x];
        const uint32_t b = (pb[x] + g) & 0xFFu;
        const uint32_t r = (pr[x] + g) & 0xFFu;
        const uint32_t a = alpha ? pa[x] : 0xFFu;
        uint32_t word;
        switch (type) {
            case 1: word = b | g << 8 | r << 16 | 0xFFu << 24; break;
            case 2: word = b | g << 8 | r << 16 | a << 24; break;
            case 16: word = 0xFFu | r << 8 | g << 16 | b << 24; break;
            default: word = a | r << 8 | g << 16 | b << 24; break;
        }
        store32(dst + 4 * x, word);
    }
}

}  // namespace norvik
