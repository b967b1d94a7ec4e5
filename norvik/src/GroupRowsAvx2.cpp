// The group decoding steps of GroupRows.h, compiled for AVX2 with BMI1/BMI2.

#include "GroupRows.h"

#if NORVIK_HAVE_AVX2_KERNELS
#include <immintrin.h>

namespace norvik::avx2 {

namespace {

// Tags this file's copies of the bit reader's functions (see BitReader::readRice).
struct IsaTag {};

inline __m256i load256(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
inline void store256(void* p, __m256i v) { _mm256_storeu_si256(static_cast<__m256i*>(p), v); }
inline void storeHalves(void* low, void* high, __m256i v) {
    _mm_storeu_si128(static_cast<__m128i*>(low), _mm256_castsi256_si128(v));
    _mm_storeu_si128(static_cast<__m128i*>(high), _mm256_extracti128_si256(v, 1));
}

// One lane's reader with its table and parameter, as locals of the loop that
// reads the lanes (an array of readers would live in memory).
struct LaneReader {
    BitReader reader;
    const int32_t* table;
    unsigned k;

    explicit LaneReader(const ResidualLane& lane) : reader(*lane.reader), table(lane.table), k(lane.k) {}
    int16_t buffered(unsigned n) { return static_cast<int16_t>(reader.readBuffered<IsaTag>(table, k, n)); }
    int16_t single(unsigned n) { return static_cast<int16_t>(reader.readResidual<IsaTag>(table, k, n)); }
};

// L (1, 2 or 4) slice-planes at once: the latency of each code (a table lookup
// that the next lookup waits for) is hidden behind the other lanes' codes. The
// buffers are topped up once every four codes without a branch on their fill.
template <unsigned L>
void readRows(const ResidualLane* lanes, unsigned n, uint32_t w, int16_t* out) {
    LaneReader r0(lanes[0]);
    LaneReader r1(lanes[L > 1 ? 1 : 0]);
    LaneReader r2(lanes[L > 2 ? 2 : 0]);
    LaneReader r3(lanes[L > 3 ? 3 : 0]);
    const auto step = [&](int16_t* o, bool topped) {
        o[0] = topped ? r0.buffered(n) : r0.single(n);
        if constexpr (L > 1) o[1] = topped ? r1.buffered(n) : r1.single(n);
        if constexpr (L > 2) {
            o[2] = topped ? r2.buffered(n) : r2.single(n);
            o[3] = topped ? r3.buffered(n) : r3.single(n);
        }
    };
    uint32_t i = 0;
    for (; i + 4 <= w; i += 4) {
        r0.reader.topUp<IsaTag>();
        if constexpr (L > 1) r1.reader.topUp<IsaTag>();
        if constexpr (L > 2) {
            r2.reader.topUp<IsaTag>();
            r3.reader.topUp<IsaTag>();
        }
        for (uint32_t j = i; j < i + 4; ++j) step(out + size_t{j} * kGroupLanes, true);
    }
    for (; i < w; ++i) step(out + size_t{i} * kGroupLanes, false);
    *lanes[0].reader = r0.reader;
    if constexpr (L > 1) *lanes[1].reader = r1.reader;
    if constexpr (L > 2) {
        *lanes[2].reader = r2.reader;
        *lanes[3].reader = r3.reader;
    }
}

}  // namespace

void readResidualRows(const ResidualLane* lanes, unsigned count, unsigned n, uint32_t w, int16_t* out) {
    if (count == 4)
        readRows<4>(lanes, n, w, out);
    else if (count == 2)
        readRows<2>(lanes, n, w, out);
    else
        readRows<1>(lanes, n, w, out);
}

// The prediction of the row decoders, lane by lane: median prediction is the
// top sample clamped into [x + min(g, 0), x + max(g, 0)] (g = top - top-left),
// gradient prediction the same with both bounds x + g, left prediction with both
// bounds x. Sums stay within 16 bits (samples have at most 14), except the
// last addition of the residual, which wraps harmlessly before the mask.
void predictGroupRow(const int16_t* residuals, const uint16_t* aboveT, const GroupMethods& methods, unsigned n,
                     uint32_t w, uint16_t* curT) {
    const __m256i mask = _mm256_set1_epi16(static_cast<int16_t>((1u << n) - 1u));
    if (aboveT == nullptr) {
        __m256i x = _mm256_set1_epi16(static_cast<int16_t>(1u << (n - 1)));
        for (uint32_t i = 0; i < w; ++i) {
            x = _mm256_and_si256(_mm256_add_epi16(x, load256(residuals + size_t{i} * kGroupLanes)), mask);
            store256(curT + size_t{i} * kGroupLanes, x);
        }
        return;
    }
    const __m256i median = load256(methods.median);
    const __m256i gradient = load256(methods.gradient);
    const __m256i zero = _mm256_setzero_si256();
    __m256i topLeft = load256(aboveT);
    __m256i x = _mm256_and_si256(_mm256_add_epi16(topLeft, load256(residuals)), mask);
    store256(curT, x);
    for (uint32_t i = 1; i < w; ++i) {
        const __m256i top = load256(aboveT + size_t{i} * kGroupLanes);
        const __m256i g = _mm256_sub_epi16(top, topLeft);
        topLeft = top;
        const __m256i gradientStep = _mm256_and_si256(g, gradient);
        const __m256i lo = _mm256_or_si256(_mm256_and_si256(_mm256_min_epi16(g, zero), median), gradientStep);
        const __m256i hi = _mm256_or_si256(_mm256_and_si256(_mm256_max_epi16(g, zero), median), gradientStep);
        const __m256i p =
            _mm256_min_epi16(_mm256_max_epi16(top, _mm256_add_epi16(x, lo)), _mm256_add_epi16(x, hi));
        x = _mm256_and_si256(_mm256_add_epi16(p, load256(residuals + size_t{i} * kGroupLanes)), mask);
        store256(curT + size_t{i} * kGroupLanes, x);
    }
}

// Eight samples of each lane at a time: an 8 x 8 transpose of 16-bit values in
// each half of the vectors (lanes 0-7 in the low half, 8-15 in the high half;
// the unpack instructions work on the halves separately).
void untransposeGroupRow(const uint16_t* curT, uint32_t w, uint16_t* const rows[kGroupLanes]) {
    for (uint32_t i = 0; i < w; i += 8) {
        const uint16_t* in = curT + size_t{i} * kGroupLanes;
        __m256i a[8];
        for (int j = 0; j < 8; ++j) a[j] = load256(in + j * kGroupLanes);
        __m256i t[8], u[8];
        for (int j = 0; j < 4; ++j) {
            t[j] = _mm256_unpacklo_epi16(a[2 * j], a[2 * j + 1]);
            t[j + 4] = _mm256_unpackhi_epi16(a[2 * j], a[2 * j + 1]);
        }
        // In each half, t[0..3]: lanes 0-3 of sample pairs (0,1) (2,3) (4,5) (6,7); t[4..7]: lanes 4-7.
        for (int h = 0; h < 2; ++h) {
            const __m256i* th = t + 4 * h;
            u[4 * h + 0] = _mm256_unpacklo_epi32(th[0], th[1]);
            u[4 * h + 1] = _mm256_unpackhi_epi32(th[0], th[1]);
            u[4 * h + 2] = _mm256_unpacklo_epi32(th[2], th[3]);
            u[4 * h + 3] = _mm256_unpackhi_epi32(th[2], th[3]);
        }
        // u[4h + 0]: lanes 4h, 4h+1 of samples 0-3; u[4h + 2]: the same of samples 4-7;
        // u[4h + 1] and u[4h + 3]: lanes 4h+2, 4h+3.
        for (int h = 0; h < 2; ++h) {
            for (int q = 0; q < 2; ++q) {
                const __m256i first = u[4 * h + q];
                const __m256i second = u[4 * h + q + 2];
                const int lane = 4 * h + 2 * q;
                storeHalves(rows[lane] + i, rows[lane + 8] + i, _mm256_unpacklo_epi64(first, second));
                storeHalves(rows[lane + 1] + i, rows[lane + 9] + i, _mm256_unpackhi_epi64(first, second));
            }
        }
    }
}

}  // namespace norvik::avx2
#endif
