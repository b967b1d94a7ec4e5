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

}  // namespace

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
