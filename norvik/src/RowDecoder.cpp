#include "RowDecoder.h"

#include "RiceTable.h"
#include "RowChains.h"

namespace norvik {

namespace {

// The method a row is decoded with: left for the first row of a slice-plane.
inline int rowMethod(uint8_t method, const uint16_t* above) {
    return above == nullptr ? static_cast<int>(kLeft) : static_cast<int>(method);
}

}  // namespace

void RowDecoder::start(const SlicePlaneView& view, unsigned bits, uint32_t width, SimdLevel simd) {
    m_simd = simd;
    m_method = view.method;
    m_k = view.riceParameter;
    m_table = simd == SimdLevel::Reference ? emptyRiceTable() : riceTable(m_k);
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
    const Lane lane{&m_reader, m_k, m_table, above, out};
#if NORVIK_HAVE_AVX2_KERNELS
    if (m_simd == SimdLevel::Avx2)
        avx2::decodeRowChain(rowMethod(m_method, above), lane, m_bits, m_width);
    else
#endif
        portable::decodeRowChain(rowMethod(m_method, above), lane, m_bits, m_width);
}

void RowDecoder::decodeRows(RowDecoder& a, uint16_t* outA, const uint16_t* aboveA, RowDecoder& b, uint16_t* outB,
                            const uint16_t* aboveB) {
    if (a.m_method == kStored || b.m_method == kStored) {
        a.decodeRow(outA, aboveA);
        b.decodeRow(outB, aboveB);
        return;
    }
    const Lane la{&a.m_reader, a.m_k, a.m_table, aboveA, outA};
    const Lane lb{&b.m_reader, b.m_k, b.m_table, aboveB, outB};
    const int ma = rowMethod(a.m_method, aboveA);
    const int mb = rowMethod(b.m_method, aboveB);
#if NORVIK_HAVE_AVX2_KERNELS
    if (a.m_simd == SimdLevel::Avx2)
        avx2::decodeRowChains(ma, mb, la, lb, a.m_bits, a.m_width);
    else
#endif
        portable::decodeRowChains(ma, mb, la, lb, a.m_bits, a.m_width);
}

}  // namespace norvik
