#include "RowDecoder.h"

#include <algorithm>
#include <cstring>

namespace norvik {

namespace {

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
            return std::min(std::max(top, x + gLo), x + gHi);
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
void decodeChain(BitReader& br, unsigned k, unsigned n, const uint16_t* above, uint16_t* out, uint32_t w) {
    const int32_t mask = static_cast<int32_t>((1u << n) - 1u);
    int32_t x = (startValue(above, n) + unzigzag(br.readRice(k, n))) & mask;
    out[0] = static_cast<uint16_t>(x);
    for (uint32_t i = 1; i < w; ++i) {
        x = (predict<M>(x, above, i) + unzigzag(br.readRice(k, n))) & mask;
        out[i] = static_cast<uint16_t>(x);
    }
}

// One row of one slice-plane of each of two readers, in lockstep.
struct Lane {
    BitReader* reader;
    unsigned k;
    const uint16_t* above;
    uint16_t* out;
};

template <int MA, int MB>
void decodeChains(Lane a, Lane b, unsigned n, uint32_t w) {
    const int32_t mask = static_cast<int32_t>((1u << n) - 1u);
    BitReader ra = *a.reader;
    BitReader rb = *b.reader;
    int32_t xa = (startValue(a.above, n) + unzigzag(ra.readRice(a.k, n))) & mask;
    int32_t xb = (startValue(b.above, n) + unzigzag(rb.readRice(b.k, n))) & mask;
    a.out[0] = static_cast<uint16_t>(xa);
    b.out[0] = static_cast<uint16_t>(xb);
    for (uint32_t i = 1; i < w; ++i) {
        const int32_t ea = unzigzag(ra.readRice(a.k, n));
        const int32_t eb = unzigzag(rb.readRice(b.k, n));
        xa = (predict<MA>(xa, a.above, i) + ea) & mask;
        xb = (predict<MB>(xb, b.above, i) + eb) & mask;
        a.out[i] = static_cast<uint16_t>(xa);
        b.out[i] = static_cast<uint16_t>(xb);
    }
    *a.reader = ra;
    *b.reader = rb;
}

// The method a row is decoded with: left for the first row of a slice-plane.
inline int rowMethod(uint8_t method, const uint16_t* above) { return above == nullptr ? static_cast<int>(kLeft) : static_cast<int>(method); }

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

void RowDecoder::start(const SlicePlaneView& view, unsigned bits, uint32_t width) {
    m_method = view.method;
    m_k = view.riceParameter;
    m_bits = bits;
    m_width = width;
    m_stored = view.payload;
    m_reader = view.method == kStored ? BitReader() : BitReader(view.payload, view.payloadSize);
}

void RowDecoder::decodeStored(uint16_t* out) {
    const uint32_t w = m_width;
    if (m_bits == 8) {
        for (uint32_t i = 0; i < w; ++i) out[i] = m_stored[i];
        m_stored += w;
    } else {
        const uint32_t mask = (1u << m_bits) - 1u;
        for (uint32_t i = 0; i < w; ++i)
            out[i] = static_cast<uint16_t>((m_stored[2 * i] | m_stored[2 * i + 1] << 8) & mask);
        m_stored += 2 * static_cast<size_t>(w);
    }
}

void RowDecoder::decodeRow(uint16_t* out, const uint16_t* above) {
    if (m_method == kStored) {
        decodeStored(out);
        return;
    }
    BitReader br = m_reader;
    const int m = rowMethod(m_method, above);
    if (m == kLeft)
        decodeChain<kLeft>(br, m_k, m_bits, above, out, m_width);
    else if (m == kGradient)
        decodeChain<kGradient>(br, m_k, m_bits, above, out, m_width);
    else
        decodeChain<kMedian>(br, m_k, m_bits, above, out, m_width);
    m_reader = br;
}

void RowDecoder::decodeRows(RowDecoder& a, uint16_t* outA, const uint16_t* aboveA, RowDecoder& b, uint16_t* outB,
                            const uint16_t* aboveB) {
    if (a.m_method == kStored || b.m_method == kStored) {
        a.decodeRow(outA, aboveA);
        b.decodeRow(outB, aboveB);
        return;
    }
    const Lane la{&a.m_reader, a.m_k, aboveA, outA};
    const Lane lb{&b.m_reader, b.m_k, aboveB, outB};
    const int ma = rowMethod(a.m_method, aboveA);
    const int mb = rowMethod(b.m_method, aboveB);
    if (ma == kLeft)
        decodeChainsFor<kLeft>(mb, la, lb, a.m_bits, a.m_width);
    else if (ma == kGradient)
        decodeChainsFor<kGradient>(mb, la, lb, a.m_bits, a.m_width);
    else
        decodeChainsFor<kMedian>(mb, la, lb, a.m_bits, a.m_width);
}

}  // namespace norvik
