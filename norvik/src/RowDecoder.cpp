#include "RowDecoder.h"

#include "GroupRows.h"
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
    decodeRowChain(rowMethod(m_method, above), lane, m_bits, m_width);
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
    decodeRowChains(ma, mb, la, lb, a.m_bits, a.m_width);
}

int RowDecoder::groupMethod(bool firstRow) const {
    return firstRow || m_method == kStored ? static_cast<int>(kLeft) : static_cast<int>(m_method);
}

void RowDecoder::storedResiduals(int16_t* out, int32_t start) {
    const uint32_t w = m_width;
    const uint32_t mask = (1u << m_bits) - 1u;
    int32_t left = start;
    for (uint32_t i = 0; i < w; ++i) {
        const int32_t v = m_bits == 8 ? m_stored[i] : static_cast<int32_t>((m_stored[2 * i] | m_stored[2 * i + 1] << 8) & mask);
        out[size_t{i} * kGroupLanes] = static_cast<int16_t>(v - left);
        left = v;
    }
    m_stored += m_bits == 8 ? w : 2 * static_cast<size_t>(w);
}

// Non-stored slice-planes are read four (or two) at a time, as far as they
// come in runs.
void RowDecoder::groupResiduals(RowDecoder* const* dec, uint32_t count, const int32_t* starts, int16_t* out) {
#if NORVIK_HAVE_AVX2_KERNELS
    uint32_t s = 0;
    while (s < count) {
        uint32_t run = 0;
        while (run < 4 && s + run < count && dec[s + run]->m_method != kStored) ++run;
        if (run == 0) {
            dec[s]->storedResiduals(out + s, starts[s]);
            ++s;
            continue;
        }
        const uint32_t take = run == 4 ? 4 : run >= 2 ? 2 : 1;
        ResidualLane lanes[4];
        for (uint32_t j = 0; j < take; ++j) lanes[j] = {&dec[s + j]->m_reader, dec[s + j]->m_k, dec[s + j]->m_table};
        avx2::readResidualRows(lanes, take, dec[s]->m_bits, dec[s]->m_width, out + s);
        s += take;
    }
#else
    (void)dec, (void)count, (void)starts, (void)out;
#endif
}

}  // namespace norvik
