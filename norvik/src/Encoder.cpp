#include "Encoder.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "BitIo.h"
#include "Bytes.h"
#include "CpuFeatures.h"
#include "EncoderKernels.h"

namespace norvik {

namespace {

// The encoder's choices, from two passes over a slice-plane instead of a trial
// of every choice (same choices as trying them all, at a fraction of the cost):
// 1. one pass sums the zigzagged residuals of left, gradient and median
//    prediction at once; the method with the smallest sum wins (the lowest
//    method number on a tie), as the smallest sum is the best cheap predictor of
//    the fewest bits;
// 2. one pass over the winner's residuals stores them and counts the exact bits
//    of each Rice parameter among four around log2 of their mean (a geometric
//    residual distribution has its best parameter there); the fewest bits win;
// 3. the samples are stored when coding would not be smaller.

// The passes of one instruction-set variant.
struct Kernels {
    void (*methodSums)(const uint16_t*, uint32_t, uint32_t, unsigned, uint64_t*);
    void (*residuals)(const uint16_t*, uint32_t, uint32_t, unsigned, uint32_t, uint16_t*);
    void (*riceBits)(const uint16_t*, size_t, unsigned, unsigned, unsigned, uint64_t*);
    void (*writeCodes)(const uint16_t*, size_t, unsigned, unsigned, BitWriter&);
};

Kernels kernelsFor(SimdLevel simd) {
#if NORVIK_HAVE_AVX2_KERNELS
    if (simd == SimdLevel::Avx2) return Kernels{avx2::methodSums, avx2::residuals, avx2::riceBits, avx2::writeCodes};
#endif
    (void)simd;
    return Kernels{portable::methodSums, portable::residuals, portable::riceBits, portable::writeCodes};
}

void writeHeader(ByteBuffer& out, uint32_t method, uint32_t k, size_t payload) {
    uint8_t h[kSlicePlaneHeaderSize] = {static_cast<uint8_t>(method), static_cast<uint8_t>(k), 0, 0};
    writeLe32(h + 4, static_cast<uint32_t>(payload));
    out.insert(out.end(), h, h + kSlicePlaneHeaderSize);
}

void writeStored(const uint16_t* samples, size_t count, unsigned bits, ByteBuffer& out) {
    const size_t storedBytes = count * (bits == 8 ? 1 : 2);
    writeHeader(out, kStored, 0, storedBytes);
    const size_t at = out.size();
    out.resize(at + storedBytes);
    for (size_t i = 0; i < count; ++i) {
        if (bits == 8)
            out[at + i] = static_cast<uint8_t>(samples[i]);
        else
            writeLe16(out.data() + at + 2 * i, samples[i]);
    }
}

}  // namespace

void codeSlicePlane(const uint16_t* samples, uint32_t width, uint32_t rows, unsigned bits, uint32_t method, uint32_t k,
                    std::vector<uint16_t>& scratch, ByteBuffer& out, SimdLevel simd) {
    const Kernels kernels = kernelsFor(simd);
    const size_t count = static_cast<size_t>(width) * rows;
    const size_t storedBytes = count * (bits == 8 ? 1 : 2);
    if (scratch.size() < count) scratch.resize(count);
    uint16_t* z = scratch.data();
    const bool automatic = method == NORVIK_AUTO;
    uint64_t sum = 0;
    if (automatic || (method != kStored && k == NORVIK_AUTO)) {
        uint64_t sums[4];
        kernels.methodSums(samples, width, rows, bits, sums);
        if (automatic) {
            method = kLeft;
            for (uint32_t m = kGradient; m <= kMedian; ++m)
                if (sums[m] < sums[method]) method = m;
        }
        if (method != kStored) sum = sums[method];
    }
    if (method == kStored) {
        writeStored(samples, count, bits, out);
        return;
    }
    kernels.residuals(samples, width, rows, bits, method, z);
    uint64_t payloadBits = 0;
    uint64_t cost[4];
    if (k == NORVIK_AUTO) {
        const uint64_t mean = count == 0 ? 0 : sum / count;
        const int guess = mean == 0 ? 0 : static_cast<int>(std::bit_width(mean)) - 1;
        const auto first = static_cast<unsigned>(std::max(0, guess - 2));
        const auto last = static_cast<unsigned>(std::min(static_cast<int>(bits) - 1, guess + 1));
        kernels.riceBits(z, count, first, last, bits, cost);
        payloadBits = UINT64_MAX;
        for (unsigned c = first; c <= last; ++c)
            if (cost[c - first] < payloadBits) payloadBits = cost[c - first], k = c;
        if (automatic && (payloadBits + 7) / 8 >= storedBytes) {
            writeStored(samples, count, bits, out);
            return;
        }
    } else {
        kernels.riceBits(z, count, k, k, bits, cost);
        payloadBits = cost[0];
    }
    const size_t headerAt = out.size();
    writeHeader(out, method, k, 0);
    BitWriter writer(out, static_cast<size_t>((payloadBits + 7) / 8));
    kernels.writeCodes(z, count, k, bits, writer);
    writer.finish();
    writeLe32(out.data() + headerAt + 4, static_cast<uint32_t>(out.size() - headerAt - kSlicePlaneHeaderSize));
}

Encoder::Encoder(const StreamFormat& stream, const SourceLayout& layout, const NorvikEncodeOptions& options)
    : m_stream(stream), m_layout(layout), m_options(options), m_simd(simdLevel()) {}

uint64_t Encoder::bound() const {
    const CompressedType& t = *m_stream.type;
    const bool forced = m_options.method != NORVIK_AUTO && m_options.method != kStored;
    uint64_t total = kFrameHeaderSize + 4ull * m_stream.sliceCount() * t.planes;
    for (uint32_t s = 0; s < m_stream.sliceCount(); ++s) {
        for (uint32_t p = 0; p < t.planes; ++p) {
            const uint64_t samples =
                static_cast<uint64_t>(sliceRows(m_stream, s, p).count) * planeWidth(t, p, m_stream.width);
            const uint64_t payload = forced ? (samples * (25 + t.bits) + 7) / 8 : samples * (t.bits == 8 ? 1 : 2);
            total += kSlicePlaneHeaderSize + payload;
        }
    }
    return total;
}

bool Encoder::checkPlanes(const CodecPlane planes[4]) const {
    if (planes == nullptr) return false;
    const CompressedType& t = *m_stream.type;
    const uint32_t count = m_layout.packed ? 1 : t.planes;
    for (uint32_t p = 0; p < count; ++p) {
        const uint32_t h = m_layout.packed ? m_stream.height : planeHeight(t, p, m_stream.height);
        const uint64_t rowBytes = sourceRowBytes(m_stream, m_layout, p);
        const CodecPlane& cp = planes[p];
        if (cp.data == 0 || cp.rowStride < rowBytes) return false;
        if (cp.planeSize < static_cast<uint64_t>(cp.rowStride) * (h - 1) + rowBytes) return false;
    }
    return true;
}

int32_t Encoder::encode(const CodecPlane planes[4], uint8_t* out, size_t capacity, uint32_t& written,
                        ThreadPool& pool) {
    written = 0;
    if (!checkPlanes(planes)) return NORVIK_E_PLANES;
    readSource(m_stream, m_layout, planes, m_coded);
    const CompressedType& t = *m_stream.type;
    const uint32_t slices = m_stream.sliceCount();
    m_parts.resize(static_cast<size_t>(slices) * t.planes);
    if (m_scratch.size() < pool.workers()) m_scratch.resize(pool.workers());
    pool.run(slices, [&](uint32_t s, unsigned worker) {
        for (uint32_t p = 0; p < t.planes; ++p) {
            const RowSpan rows = sliceRows(m_stream, s, p);
            const uint32_t w = planeWidth(t, p, m_stream.width);
            auto& part = m_parts[static_cast<size_t>(s) * t.planes + p];
            part.clear();
            codeSlicePlane(m_coded[p].data() + static_cast<size_t>(rows.first) * w, w, rows.count, t.bits,
                           m_options.method, m_options.riceParameter, m_scratch[worker], part, m_simd);
        }
    });
    uint64_t total = kFrameHeaderSize + 4ull * m_parts.size();
    for (const auto& part : m_parts) total += part.size();
    if (total > capacity || total > UINT32_MAX) return NORVIK_E_CAPACITY;
    std::memcpy(out, "NVKF", 4);
    writeLe32(out + 4, static_cast<uint32_t>(total));
    writeLe16(out + 8, static_cast<uint16_t>(slices));
    out[10] = static_cast<uint8_t>(t.planes);
    out[11] = 0;
    size_t at = kFrameHeaderSize + 4 * m_parts.size();
    for (size_t i = 0; i < m_parts.size(); ++i) {
        writeLe32(out + kFrameHeaderSize + 4 * i, static_cast<uint32_t>(at));
        std::memcpy(out + at, m_parts[i].data(), m_parts[i].size());
        at += m_parts[i].size();
    }
    written = static_cast<uint32_t>(total);
    return NORVIK_OK;
}

}  // namespace norvik
