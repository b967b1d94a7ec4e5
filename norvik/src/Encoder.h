// Encoding of whole frames: prediction and Rice parameter chosen per slice-plane,
// with stored samples when coding does not pay.
#pragma once

#include <cstdint>
#include <vector>

#include "ByteBuffer.h"
#include "CpuFeatures.h"
#include "FrameLayout.h"
#include "norvik/norvik_common.h"
#include "Source.h"
#include "StreamFormat.h"
#include "ThreadPool.h"

namespace norvik {

// Codes one slice-plane of `rows` rows of `width` samples (n bits each) and
// appends header and payload to `out`. `method` / `k` may be NORVIK_AUTO.
// `scratch` is reused between calls. Every `simd` variant gives the same bytes.
void codeSlicePlane(const uint16_t* samples, uint32_t width, uint32_t rows, unsigned bits, uint32_t method, uint32_t k,
                    std::vector<uint16_t>& scratch, ByteBuffer& out, SimdLevel simd);

// Encodes frames of one stream from one source layout. Not thread-safe: one
// caller at a time; encode() runs the slices on the given pool.
class Encoder {
public:
    Encoder(const StreamFormat& stream, const SourceLayout& layout, const NorvikEncodeOptions& options);

    // The largest frame encode() can produce.
    uint64_t bound() const;

    // Returns 0, NORVIK_E_PLANES for missing or short source planes, or
    // NORVIK_E_CAPACITY when the frame does not fit into `capacity` bytes.
    int32_t encode(const CodecPlane planes[4], uint8_t* out, size_t capacity, uint32_t& written, ThreadPool& pool);

private:
    bool checkPlanes(const CodecPlane planes[4]) const;

    StreamFormat m_stream;
    SourceLayout m_layout;
    NorvikEncodeOptions m_options;
    SampleBuffer m_coded[4];                       // the picture's coded planes
    std::vector<ByteBuffer> m_parts;               // one per slice-plane
    std::vector<std::vector<uint16_t>> m_scratch;  // one per worker
    SimdLevel m_simd;                              // kernels chosen when the encoder is built
};

}  // namespace norvik
