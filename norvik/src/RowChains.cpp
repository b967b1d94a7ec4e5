#include "RowChains.h"

namespace norvik {

namespace {

// Tags this file's copies of the bit reader's functions (see BitReader::readRice).
struct IsaTag {};

// min and max of our own: the standard ones would be shared between the files
// of different instruction sets.
inline int32_t lesser(int32_t a, int32_t b) { return a < b ? a : b; }
inline int32_t greater(int32_t a, int32_t b) { return a < b ? b : a; }

// Prediction of sample i from its decoded left neighbour x, for method M (left
// prediction also serves the first row, which has no row above). Median
// prediction is top clamped into [x + min(g, 0), x + max(g, 0)] with
// g = top - top-left: the clamp bounds hang off x by amounts known from the row
// above, which keeps the serial chain through x short.
template <int M>
inline int32_t predict(int32_t x, const uint16_t* above, uint32_t i) {
    if constexpr (M == kLeft) {
        return x;
    } else {
        const int32_t top = above[i];
        const int32_t g = top - above[i - 1];
        if constexpr (M == kGradient) {
            return x + g;
        } else {
            // Branch-free: on pictures the sign of g is unpredictable.
            const int32_t gLo = g & (g >> 31);
            const int32_t gHi = g - gLo;
            return lesser(greater(top, x + gLo), x + gHi);
        }
    }
}

// The value standing left of sample 0: the sample above, or 2^(n-1) in the first row.
inline int32_t startValue(const uint16_t* above, unsigned n) {
    return above != nullptr ? above[0] : static_cast<int32_t>(1u << (n - 1));
}

// The serial part of a row; the bit reader is a local copy so that its state
// stays in registers.
template <int M>
void decodeChain(Lane lane, unsigned n, uint32_t w) {
    const int32_t mask = static_cast<int32_t>((1u << n) - 1u);
    BitReader br = *lane.reader;
    const uint16_t* above = lane.above;
    int32_t x = (startValue(above, n) + br.template readResidual<IsaTag>(lane.table, lane.k, n)) & mask;
    lane.out[0] = static_cast<uint16_t>(x);
    for (uint32_t i = 1; i < w; ++i) {
        x = (predict<M>(x, above, i) + br.template readResidual<IsaTag>(lane.table, lane.k, n)) & mask;
        lane.out[i] = static_cast<uint16_t>(x);
    }
    *lane.reader = br;
}

template <int MA, int MB>
void decodeChains(Lane a, Lane b, unsigned n, uint32_t w) {
    const int32_t mask = static_cast<int32_t>((1u << n) - 1u);
    BitReader ra = *a.reader;
    BitReader rb = *b.reader;
    int32_t xa = (startValue(a.above, n) + ra.template readResidual<IsaTag>(a.table, a.k, n)) & mask;
    int32_t xb = (startValue(b.above, n) + rb.template readResidual<IsaTag>(b.table, b.k, n)) & mask;
    a.out[0] = static_cast<uint16_t>(xa);
    b.out[0] = static_cast<uint16_t>(xb);
    for (uint32_t i = 1; i < w; ++i) {
        const int32_t ea = ra.template readResidual<IsaTag>(a.table, a.k, n);
        const int32_t eb = rb.template readResidual<IsaTag>(b.table, b.k, n);
        xa = (predict<MA>(xa, a.above, i) + ea) & mask;
        xb = (predict<MB>(xb, b.above, i) + eb) & mask;
        a.out[i] = static_cast<uint16_t>(xa);
        b.out[i] = static_cast<uint16_t>(xb);
    }
    *a.reader = ra;
    *b.reader = rb;
}

template <int MA>
void decodeChainsFor(int methodB, Lane a, Lane b, unsigned n, uint32_t w) {
    if (methodB == kLeft)
        decodeChains<MA, kLeft>(a, b, n, w);
    else if (methodB == kGradient)
        decodeChains<MA, kGradient>(a, b, n, w);
    else
        decodeChains<MA, kMedian>(a, b, n, w);
}

}  // namespace

void decodeRowChain(int method, Lane lane, unsigned n, uint32_t w) {
    if (method == kLeft)
        decodeChain<kLeft>(lane, n, w);
    else if (method == kGradient)
        decodeChain<kGradient>(lane, n, w);
    else
        decodeChain<kMedian>(lane, n, w);
}

void decodeRowChains(int methodA, int methodB, Lane a, Lane b, unsigned n, uint32_t w) {
    if (methodA == kLeft)
        decodeChainsFor<kLeft>(methodB, a, b, n, w);
    else if (methodA == kGradient)
        decodeChainsFor<kGradient>(methodB, a, b, n, w);
    else
        decodeChainsFor<kMedian>(methodB, a, b, n, w);
}

}  // namespace norvik
