#include "row_decoder.h"

#include <algorithm>

namespace norvik {

namespace {

inline int32_t median3(int32_t a, int32_t b, int32_t c) {
    return std::max(std::min(a, b), std::min(std::max(a, b), c));
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
            const int32_t left = static_cast<int32_t>(x);
            pred = median3(left, above[i], left + above[i] - above[i - 1]);
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
    if (above == nullptr) {
        decodeFirstRow(m_reader, m_k, m_bits, out, w);
        return;
    }
    switch (m_method) {
    case kLeft: decodeRowWithAbove<kLeft>(m_reader, m_k, m_bits, out, above, w); break;
    case kGradient: decodeRowWithAbove<kGradient>(m_reader, m_k, m_bits, out, above, w); break;
    default: decodeRowWithAbove<kMedian>(m_reader, m_k, m_bits, out, above, w); break;
    }
}

}  // namespace norvik
