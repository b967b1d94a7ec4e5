#include "RowDecoder.h"

#include "Platform.h"

namespace norvik {

namespace {

// On pictures these comparisons are unpredictable: conditional moves, not branches.
inline int32_t max2(int32_t a, int32_t b) { return NORVIK_UNPREDICTABLE(a > b) ? a : b; }
inline int32_t min2(int32_t a, int32_t b) { return NORVIK_UNPREDICTABLE(a < b) ? a : b; }

// The median of (left, top, left + grad) with grad = top - top-left is top
// clamped to the span between left and left + grad; the span's offsets from left
// do not depend on left, which keeps the serial chain through left short.
inline int32_t medianPrediction(int32_t left, int32_t top, int32_t grad) {
    const int32_t gradMin = grad & (grad >> 31);  // min(grad, 0) without a branch
    const int32_t lo = left + gradMin;
    const int32_t hi = left + (grad - gradMin);
    return min2(max2(top, lo), hi);
}

// First row of a slice-plane: left prediction from 2^(n-1).
void decodeFirstRow(BitReader& br, unsigned k, unsigned n, uint16_t* out, uint32_t w) {
    const uint32_t mask = (1u << n) - 1u;
    uint32_t x = 1u << (n - 1);
    for (uint32_t i = 0; i < w; ++i) {
        x = (x + static_cast<uint32_t>(unzigzag(br.readRice(k, n)))) & mask;
        out[i] = static_cast<uint16_t>(x);
    }
}

template <int M>
void decodeRowWithAbove(BitReader& br, unsigned k, unsigned n, uint16_t* out, const uint16_t* above, uint32_t w) {
    const uint32_t mask = (1u << n) - 1u;
    uint32_t x = (above[0] + static_cast<uint32_t>(unzigzag(br.readRice(k, n)))) & mask;
    out[0] = static_cast<uint16_t>(x);
    for (uint32_t i = 1; i < w; ++i) {
        int32_t pred;
        if constexpr (M == kLeft) {
            pred = static_cast<int32_t>(x);
        } else if constexpr (M == kGradient) {
            pred = static_cast<int32_t>(x) + above[i] - above[i - 1];
        } else {
            pred = medianPrediction(static_cast<int32_t>(x), above[i], above[i] - above[i - 1]);
        }
        x = static_cast<uint32_t>(pred + unzigzag(br.readRice(k, n))) & mask;
        out[i] = static_cast<uint16_t>(x);
    }
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

void RowDecoder::decodeRow(uint16_t* out, const uint16_t* above) {
    const uint32_t w = m_width;
    if (m_method == kStored) {
        if (m_bits == 8) {
            for (uint32_t i = 0; i < w; ++i) out[i] = m_stored[i];
            m_stored += w;
        } else {
            const uint32_t mask = (1u << m_bits) - 1u;
            for (uint32_t i = 0; i < w; ++i)
                out[i] = static_cast<uint16_t>((m_stored[2 * i] | m_stored[2 * i + 1] << 8) & mask);
            m_stored += 2 * static_cast<size_t>(w);
        }
        return;
    }
    // A local copy lets the compiler keep the bit buffer in registers.
    BitReader br = m_reader;
    if (above == nullptr)
        decodeFirstRow(br, m_k, m_bits, out, w);
    else if (m_method == kLeft)
        decodeRowWithAbove<kLeft>(br, m_k, m_bits, out, above, w);
    else if (m_method == kGradient)
        decodeRowWithAbove<kGradient>(br, m_k, m_bits, out, above, w);
    else
        decodeRowWithAbove<kMedian>(br, m_k, m_bits, out, above, w);
    m_reader = br;
}

}  // namespace norvik
