// Decodes the rows of one coded slice-plane in order, into 16-bit samples.
#pragma once

#include <cstdint>

#include "BitIo.h"
#include "CpuFeatures.h"
#include "FrameLayout.h"

namespace norvik {

// State of one slice-plane being decoded. Not thread-safe; one per plane per worker.
class RowDecoder {
public:
    // `view` must come from parseFrame for a slice-plane of `width` samples per row.
    void start(const SlicePlaneView& view, unsigned bits, uint32_t width, SimdLevel simd);

    // Decodes the next row into out[0..width). `above` is this slice-plane's
    // previous row, or null for its first row.
    void decodeRow(uint16_t* out, const uint16_t* above);

    // Decodes the next row of two slice-planes of the same width and depth in
    // lockstep: their serial chains are independent, so the processor overlaps
    // them. Same meaning as decodeRow for each.
    static void decodeRows(RowDecoder& a, uint16_t* outA, const uint16_t* aboveA, RowDecoder& b, uint16_t* outB,
                           const uint16_t* aboveB);

    // For decoding slices together (GroupRows.h): the prediction of the next
    // row, left for a first row or a stored slice-plane.
    int groupMethod(bool firstRow) const;

    // Writes the residuals of the next row of dec[0..count) (one plane of
    // consecutive slices, rows of the same width) to out[i * kGroupLanes + s];
    // for a stored slice-plane the differences that left prediction from
    // starts[s] (the value left of its sample 0) turns back into its samples.
    // Only where the AVX2 kernels exist.
    static void groupResiduals(RowDecoder* const* dec, uint32_t count, const int32_t* starts, int16_t* out);

    // True when the coded data was bad or ran out (checked after the last row).
    bool failed() const { return m_reader.failed(); }

private:
    void decodeStored(uint16_t* out);
    void storedResiduals(int16_t* out, int32_t start);

    BitReader m_reader;
    const uint8_t* m_stored = nullptr;
    uint8_t m_method = 0;
    unsigned m_k = 0;
    const int32_t* m_table = nullptr;  // riceTable(m_k); on the reference path, no short codes
    unsigned m_bits = 8;
    uint32_t m_width = 0;
};

}  // namespace norvik
