// Decoding of whole frames into the caller's planes.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "Convert.h"
#include "FrameLayout.h"
#include "GroupRows.h"
#include "norvik/norvik_common.h"
#include "StreamFormat.h"
#include "RowDecoder.h"
#include "ThreadPool.h"

namespace norvik {

// What a begun decompression writes.
struct DecodeTarget {
    OutputLayout output;  // output.type null means the planar output (the coded planes)
    bool bottomUp = false;
};

// Checks a wanted output record against a stream; fills `target` or returns the
// error code.
int32_t resolveTarget(const StreamFormat& stream, const CodecFormat& wanted, DecodeTarget& target);

// Decodes frames of one stream into one target. Not thread-safe: one caller at a
// time; decode() runs the slices on the given pool.
class Decoder {
public:
    Decoder(const StreamFormat& stream, const DecodeTarget& target);

    // Returns 0, NORVIK_E_PLANES when the planes cannot hold the picture, or
    // NORVIK_E_FRAME for a malformed frame (then the planes may hold part of it).
    int32_t decode(const uint8_t* frame, size_t size, const CodecPlane planes[4], ThreadPool& pool);

private:
    struct Plane {
        uint8_t* data;
        uint32_t stride;
    };

    // Decoding state of one slice inside decodeSlicePair: the plane decoders, two
    // row buffers per plane (current and above).
    struct SliceState {
        RowDecoder dec[4];
        uint16_t* buf[4][2] = {};
        const uint16_t* rows[4] = {nullptr, nullptr, nullptr, nullptr};  // last decoded row per plane
        unsigned parity[4] = {0, 0, 0, 0};
        RowSpan luma;

        void decodeRow(uint32_t plane);
        void decodePairedRow(SliceState& other, uint32_t plane);
    };

    // Buffers of decodeSliceGroup, in one worker's scratch.
    struct GroupBuffers {
        uint16_t* aboveT[4];  // per plane, the last decoded row, transposed
        uint16_t* curT[4];    // per plane, the row being decoded, transposed
        uint16_t* laneRows[4][kGroupLanes];
        int16_t* residuals;
        uint16_t* extra;  // the packer's scratch
    };

    bool checkPlanes(const CodecPlane planes[4]);
    uint32_t groupLanes(unsigned workers) const;
    size_t scratchSamples() const;
    bool decodeSlicePair(uint32_t first, std::vector<uint16_t>& scratch) const;
    bool decodeSliceGroup(uint32_t first, uint32_t lanes, std::vector<uint16_t>& scratch) const;
    GroupBuffers groupBuffers(std::vector<uint16_t>& scratch) const;
    void decodeGroupPlaneRow(RowDecoder (*dec)[4], uint32_t active, uint32_t plane, bool firstRow,
                             GroupBuffers& b) const;
    void writeRow(const uint16_t* const rows[4], uint32_t lumaRow, bool chromaRow, uint16_t* tmp) const;
    void writePlanar(const uint16_t* const rows[4], uint32_t lumaRow, bool chromaRow, uint16_t* tmp) const;
    uint8_t* outputRow(uint32_t plane, uint32_t row, uint32_t height) const;

    StreamFormat m_stream;
    DecodeTarget m_target;
    std::optional<RowPacker> m_packer;  // empty for the planar output
    size_t m_rowSamples;                // scratch samples per plane row
    std::vector<SlicePlaneView> m_views;
    std::vector<std::vector<uint16_t>> m_scratch;  // one per worker
    Plane m_planes[4] = {};
    SimdLevel m_simd = SimdLevel::Portable;  // kernels chosen when the decoder is built
};

}  // namespace norvik
