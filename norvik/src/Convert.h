// Turns decoded plane rows into rows of an output type.
#pragma once

#include <cstdint>
#include <vector>

#include "Colour.h"
#include "FixedAffine.h"
#include "StreamFormat.h"
#include "Types.h"

namespace norvik {

// What a decode writes: an output type with its flags, colour space and range.
struct OutputLayout {
    const OutputType* type = nullptr;
    bool range32768 = false;
    uint32_t colorSpace = 1;
    uint32_t range = 2;
};

// Packs one picture row at a time. Built once per begun decompression, then
// read-only: pack() may run on several threads at once, each with its own scratch.
class RowPacker {
public:
    RowPacker(const StreamFormat& stream, const OutputLayout& out);

    // 16-bit samples of scratch that pack() needs per thread.
    size_t scratchSize() const { return static_cast<size_t>(m_width + 8) * 10; }

    // rows[p] is the current row of coded plane p (chroma rows at their own
    // width); writes outputRowBytes(type, width) bytes at dst.
    void pack(const uint16_t* const rows[4], uint8_t* dst, uint16_t* scratch) const;

private:
    // Yuv422: 4:2:2 samples straight into a 4:2:2 output. AffinePairs: 4:2:2 or
    // 4:2:0 rows through a colour-matrix change into a 4:2:2 output, pair by pair.
    enum class Path { Yuv422, AffinePairs, Rgb8, Generic };
    enum class Stage { Lut, Affine };

    void expand(const uint16_t* const rows[4], uint16_t* const c[4]) const;
    // Leaves the output's components in c, or in o (the model change); returns which.
    uint16_t* const* transform(uint16_t* const c[4], uint16_t* const o[4], uint8_t* nearTie) const;
    void packComponents(const uint16_t* const o[4], uint8_t* dst, uint16_t* scratch) const;

    uint32_t m_width;
    const CompressedType* m_in;
    const OutputType* m_out;
    Path m_path = Path::Generic;
    Stage m_stage = Stage::Lut;
    bool m_identityDepth = false;  // the depth table is x -> x
    bool m_alphaFromSource = false;
    uint16_t m_fullScale = 255;     // of the output: 2^m - 1, or 32768
    std::vector<uint16_t> m_depth;  // depth rule, source sample -> output sample
    AffineRows m_affine;            // model change with the depth scale folded in
};

// The output sample for an n-bit sample x by the depth rules: shift up, round to
// nearest and clamp down, or x * 32768 / (2^n - 1) rounded for the 0..32768 range.
uint16_t depthRule(uint32_t x, unsigned fromBits, unsigned toBits, bool range32768);

}  // namespace norvik
