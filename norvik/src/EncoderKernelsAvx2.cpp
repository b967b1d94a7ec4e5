// The encoder's passes for AVX2 processors (this file is compiled with AVX2
// enabled where SimdKernels.h says the variant exists).
#include "EncoderKernels.h"

#include "BitIo.h"
#include "FrameLayout.h"

#if NORVIK_HAVE_AVX2_KERNELS
#include <immintrin.h>

namespace norvik::avx2 {
#include "EncoderKernels.inc"

namespace {

// Sums over the 32-bit lanes of v.
uint64_t sum32(__m256i v) {
    const __m128i four = _mm_add_epi32(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
    const __m128i two = _mm_add_epi32(four, _mm_srli_si128(four, 8));
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_add_epi32(two, _mm_srli_si128(two, 4))));
}

// The Rice codes of eight values, joined in pairs: codes[j] holds the codes of
// z[2j] and z[2j + 1] (the first in the low bits), lengths[j] their total
// length. False when any code is an escape or longer than 28 bits (then a
// pair could pass 56 bits): those eight go the scalar way.
bool joinedCodes(const uint16_t* z, unsigned k, __m128i shiftK, __m256i lowMask, uint64_t codes[4],
                 uint64_t lengths[4], uint64_t fours[4], uint64_t fourLengths[4]) {
    const __m256i values = _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(z)));
    const __m256i q = _mm256_srl_epi32(values, shiftK);
    const __m256i length = _mm256_add_epi32(q, _mm256_set1_epi32(static_cast<int32_t>(k + 1)));
    const __m256i tooLong = _mm256_or_si256(_mm256_cmpgt_epi32(q, _mm256_set1_epi32(kEscapeZeros - 1)),
                                            _mm256_cmpgt_epi32(length, _mm256_set1_epi32(28)));
    if (_mm256_movemask_epi8(tooLong) != 0) return false;
    // ((value & lowMask) << 1 | 1) << q: q zero bits, a one bit, the low k bits.
    const __m256i low = _mm256_and_si256(values, lowMask);
    const __m256i code =
        _mm256_sllv_epi32(_mm256_or_si256(_mm256_slli_epi32(low, 1), _mm256_set1_epi32(1)), q);
    // Each 64-bit lane: the even code in its low half, the odd one in its high half.
    const __m256i lowHalf = _mm256_set1_epi64x(0xFFFFFFFF);
    const __m256i firstLength = _mm256_and_si256(length, lowHalf);
    const __m256i joined =
        _mm256_or_si256(_mm256_and_si256(code, lowHalf), _mm256_sllv_epi64(_mm256_srli_epi64(code, 32), firstLength));
    const __m256i pairLength = _mm256_add_epi64(firstLength, _mm256_srli_epi64(length, 32));
    // Pairs 0 and 1, and 2 and 3, joined again in lanes 0 and 2 (shifts of 64 or
    // more give 0; such a four is not used).
    const __m256i next = _mm256_permute4x64_epi64(joined, _MM_SHUFFLE(3, 3, 1, 1));
    const __m256i nextLength = _mm256_permute4x64_epi64(pairLength, _MM_SHUFFLE(3, 3, 1, 1));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(codes), joined);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(lengths), pairLength);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(fours), _mm256_or_si256(joined, _mm256_sllv_epi64(next, pairLength)));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(fourLengths), _mm256_add_epi64(pairLength, nextLength));
    return true;
}

// Sums over the 16-bit lanes of v, as 32-bit values.
uint64_t sum16(__m256i v) {
    const __m256i pairs = _mm256_madd_epi16(v, _mm256_set1_epi16(1));
    const __m128i four = _mm_add_epi32(_mm256_castsi256_si128(pairs), _mm256_extracti128_si256(pairs, 1));
    const __m128i two = _mm_add_epi32(four, _mm_srli_si128(four, 8));
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_add_epi32(two, _mm_srli_si128(two, 4))));
}

inline __m256i load16(const uint16_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }

inline __m256i median16(__m256i a, __m256i b, __m256i c) {
    return _mm256_max_epi16(_mm256_min_epi16(a, b), _mm256_min_epi16(_mm256_max_epi16(a, b), c));
}

// Zigzag of x - pred modulo 2^n, taken as signed in [-2^(n-1), 2^(n-1)), in
// 16-bit lanes (the results stay below 2^14).
struct Zigzag16 {
    __m256i mask, half;
    explicit Zigzag16(unsigned n)
        : mask(_mm256_set1_epi16(static_cast<int16_t>((1u << n) - 1u))),
          half(_mm256_set1_epi16(static_cast<int16_t>(1u << (n - 1)))) {}
    __m256i operator()(__m256i x, __m256i pred) const {
        const __m256i e = _mm256_sub_epi16(_mm256_and_si256(_mm256_add_epi16(_mm256_sub_epi16(x, pred), half), mask), half);
        return _mm256_xor_si256(_mm256_add_epi16(e, e), _mm256_srai_epi16(e, 15));
    }
};

}  // namespace

// The residuals of rows after the first sixteen at a time, as methodSums below.
void residuals(const uint16_t* s, uint32_t w, uint32_t rows, unsigned n, uint32_t method, uint16_t* z) {
    const Zigzag16 zigzag(n);
    for (uint32_t r = 0; r < rows; ++r) {
        const uint16_t* row = s + static_cast<size_t>(r) * w;
        uint16_t* zr = z + static_cast<size_t>(r) * w;
        if (r == 0 || method == kLeft) {
            residualRow<kLeft>(row, r == 0 ? nullptr : row - w, w, n, zr);
            continue;
        }
        const uint16_t* above = row - w;
        uint32_t i = 1;
        for (; i + 16 <= w; i += 16) {
            const __m256i left = load16(row + i - 1), top = load16(above + i);
            const __m256i grad = _mm256_sub_epi16(_mm256_add_epi16(left, top), load16(above + i - 1));
            const __m256i pred = method == kGradient ? grad : median16(left, top, grad);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(zr + i), zigzag(load16(row + i), pred));
        }
        // The first sample and the tail, one by one.
        const int32_t mask = static_cast<int32_t>((1u << n) - 1u);
        const int32_t half = 1 << (n - 1);
        zr[0] = static_cast<uint16_t>(zigzagResidual(row[0], above[0], mask, half));
        for (; i < w; ++i) {
            const int32_t left = row[i - 1], grad = left + above[i] - above[i - 1];
            const int32_t pred = method == kGradient ? grad : median3(left, above[i], grad);
            zr[i] = static_cast<uint16_t>(zigzagResidual(row[i], pred, mask, half));
        }
    }
}

// Sixteen samples at a time in 16-bit lanes (samples have at most 14 bits, so
// the gradient prediction and the residuals fit): the rows after the first,
// from their second sample on; the rest as the portable loop does.
void methodSums(const uint16_t* s, uint32_t w, uint32_t rows, unsigned n, uint64_t sums[4]) {
    const int32_t mask = static_cast<int32_t>((1u << n) - 1u);
    const int32_t half = 1 << (n - 1);
    const Zigzag16 zigzag(n);
    const __m256i ones = _mm256_set1_epi16(1);
    for (unsigned m = 0; m < 4; ++m) sums[m] = 0;
    uint64_t common = zigzagResidual(s[0], half, mask, half);  // the same for every method
    for (uint32_t i = 1; i < w; ++i) common += zigzagResidual(s[i], s[i - 1], mask, half);
    for (uint32_t r = 1; r < rows; ++r) {
        const uint16_t* row = s + static_cast<size_t>(r) * w;
        const uint16_t* above = row - w;
        common += zigzagResidual(row[0], above[0], mask, half);
        __m256i sl = _mm256_setzero_si256(), sg = sl, sm = sl;  // 32-bit lanes
        uint32_t i = 1;
        for (; i + 16 <= w; i += 16) {
            const __m256i x = load16(row + i), left = load16(row + i - 1), top = load16(above + i);
            const __m256i grad = _mm256_sub_epi16(_mm256_add_epi16(left, top), load16(above + i - 1));
            const __m256i med = median16(left, top, grad);
            sl = _mm256_add_epi32(sl, _mm256_madd_epi16(zigzag(x, left), ones));
            sg = _mm256_add_epi32(sg, _mm256_madd_epi16(zigzag(x, grad), ones));
            sm = _mm256_add_epi32(sm, _mm256_madd_epi16(zigzag(x, med), ones));
        }
        uint64_t tl = sum32(sl), tg = sum32(sg), tm = sum32(sm);
        for (; i < w; ++i) {
            const int32_t x = row[i], left = row[i - 1], top = above[i];
            const int32_t grad = left + top - above[i - 1];
            tl += zigzagResidual(x, left, mask, half);
            tg += zigzagResidual(x, grad, mask, half);
            tm += zigzagResidual(x, median3(left, top, grad), mask, half);
        }
        sums[kLeft] += tl;
        sums[kGradient] += tg;
        sums[kMedian] += tm;
    }
    for (unsigned m = kLeft; m <= kMedian; ++m) sums[m] += common;
}

// Sixteen values at a time, for the four parameters at once: the sum of the
// unary parts q, and the number and q-sum of escapes; the bits follow from them.
// A stretch of 16 * 2048 values keeps every 16-bit tally below 2^15.
void riceBits(const uint16_t* z, size_t count, unsigned first, unsigned last, unsigned n, uint64_t bits[4]) {
    unsigned k[4];
    __m128i shift[4];
    for (unsigned c = 0; c < 4; ++c) {
        k[c] = first + c < last ? first + c : last;
        shift[c] = _mm_cvtsi32_si128(static_cast<int>(k[c]));
    }
    const __m256i limit = _mm256_set1_epi16(static_cast<int16_t>(kEscapeZeros - 1));
    uint64_t sumQ[4] = {0, 0, 0, 0}, escapes[4] = {0, 0, 0, 0}, escapeQ[4] = {0, 0, 0, 0};
    size_t i = 0;
    while (i + 16 <= count) {
        const size_t end = count - i > 16 * 2048 ? i + 16 * 2048 : count;
        __m256i q16[4], e16[4], eq16[4];
        for (unsigned c = 0; c < 4; ++c) q16[c] = e16[c] = eq16[c] = _mm256_setzero_si256();
        for (; i + 16 <= end; i += 16) {
            const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(z + i));
            for (unsigned c = 0; c < 4; ++c) {
                // q < 2^14 (samples have at most 14 bits): signed comparisons hold.
                const __m256i q = _mm256_srl_epi16(v, shift[c]);
                const __m256i escape = _mm256_cmpgt_epi16(q, limit);
                q16[c] = _mm256_add_epi32(q16[c], _mm256_madd_epi16(q, _mm256_set1_epi16(1)));
                e16[c] = _mm256_sub_epi16(e16[c], escape);
                eq16[c] = _mm256_add_epi32(eq16[c], _mm256_madd_epi16(_mm256_and_si256(q, escape), _mm256_set1_epi16(1)));
            }
        }
        for (unsigned c = 0; c < 4; ++c) {
            sumQ[c] += sum32(q16[c]);
            escapes[c] += sum16(e16[c]);
            escapeQ[c] += sum32(eq16[c]);
        }
    }
    const uint64_t vectored = i;
    for (unsigned c = 0; c < 4; ++c) {
        // Every code q + 1 + k bits, except escapes: 25 + n bits.
        bits[c] = sumQ[c] + (1 + k[c]) * vectored - escapeQ[c] - (1 + k[c]) * escapes[c] + (25 + n) * escapes[c];
        for (size_t j = i; j < count; ++j) {
            const uint32_t q = z[j] >> k[c];
            bits[c] += q < kEscapeZeros ? q + 1 + k[c] : 25 + n;
        }
    }
}

// Eight codes at a time are made in vectors and go into the bit buffer in four
// joined pairs; blocks with a long code, and the tail, are written one by one.
void writeCodes(const uint16_t* z, size_t count, unsigned k, unsigned n, BitWriter& writer) {
    BitWriter::Cursor<IsaTag> c = writer.cursor<IsaTag>();
    const uint32_t lowMask = (1u << k) - 1u;
    const __m128i shiftK = _mm_cvtsi32_si128(static_cast<int>(k));
    const __m256i lowMaskV = _mm256_set1_epi32(static_cast<int32_t>(lowMask));
    uint64_t codes[4], lengths[4], fours[4], fourLengths[4];
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        if (joinedCodes(z + i, k, shiftK, lowMaskV, codes, lengths, fours, fourLengths)) {
            if (fourLengths[0] <= 56 && fourLengths[2] <= 56) [[likely]] {
                c.put(fours[0], static_cast<unsigned>(fourLengths[0]));
                c.put(fours[2], static_cast<unsigned>(fourLengths[2]));
            } else {
                for (int j = 0; j < 4; ++j) c.put(codes[j], static_cast<unsigned>(lengths[j]));
            }
            continue;
        }
        for (size_t j = i; j < i + 8; ++j) {
            unsigned length = 0;
            const uint64_t code = BitWriter::riceCode<IsaTag>(z[j], k, n, lowMask, length);
            c.put(code, length);
        }
    }
    for (; i < count; ++i) {
        unsigned length = 0;
        const uint64_t code = BitWriter::riceCode<IsaTag>(z[i], k, n, lowMask, length);
        c.put(code, length);
    }
    writer.commit(c);
}

}  // namespace norvik::avx2
#endif
