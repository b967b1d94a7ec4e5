#include "Encoder.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "BitIo.h"
#include "Bytes.h"

namespace norvik {

namespace {

inline int32_t median3(int32_t a, int32_t b, int32_t c) {
    return std::max(std::min(a, b), std::min(std::max(a, b), c));
}

// Zigzagged residuals of one slice-plane for a method; returns their sum.
uint64_t residuals(const uint16_t* s, uint32_t w, uint32_t rows, unsigned n, uint32_t method, uint16_t* z) {
    const uint32_t mask = (1u << n) - 1u;
    const int32_t half = 1 << (n - 1);
    uint64_t sum = 0;
    auto put = [&](uint32_t x, int32_t pred, size_t i) {
        int32_t e = static_cast<int32_t>((x - static_cast<uint32_t>(pred)) & mask);
        if (e >= half) e -= 1 << n;
        z[i] = static_cast<uint16_t>(zigzag(e));
        sum += z[i];
    };
    for (uint32_t r = 0; r < rows; ++r) {
        const uint16_t* row = s + static_cast<size_t>(r) * w;
        const uint16_t* above = row - w;
        uint16_t* zr = z + static_cast<size_t>(r) * w;
        put(row[0], r == 0 ? half : above[0], zr - z);
        for (uint32_t i = 1; i < w; ++i) {
            const int32_t left = row[i - 1];
            int32_t pred = left;
            if (r > 0 && method == kGradient) pred = left + above[i] - above[i - 1];
            if (r > 0 && method == kMedian) pred = median3(left, above[i], left + above[i] - above[i - 1]);
            put(row[i], pred, zr - z + i);
        }
    }
    return sum;
}

uint64_t riceBits(const uint16_t* z, size_t count, unsigned k, unsigned n) {
    uint64_t bits = 0;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t q = z[i] >> k;
        bits += q < kEscapeZeros ? q + 1 + k : 25 + n;
    }
    return bits;
}

void writeHeader(std::vector<uint8_t>& out, uint32_t method, uint32_t k, size_t payload) {
    uint8_t h[kSlicePlaneHeaderSize] = {static_cast<uint8_t>(method), static_cast<uint8_t>(k), 0, 0};
    writeLe32(h + 4, static_cast<uint32_t>(payload));
    out.insert(out.end(), h, h + kSlicePlaneHeaderSize);
}

}  // namespace

void codeSlicePlane(const uint16_t* samples, uint32_t width, uint32_t rows, unsigned bits, uint32_t method, uint32_t k,
                    std::vector<uint16_t>& scratch, std::vector<uint8_t>& out) {
    const size_t count = static_cast<size_t>(width) * rows;
    const size_t storedBytes = count * (bits == 8 ? 1 : 2);
    if (scratch.size() < count) scratch.resize(count);
    uint16_t* z = scratch.data();
    const bool automatic = method == NORVIK_AUTO;
    if (automatic) {
        uint64_t best = UINT64_MAX;
        for (uint32_t m = kLeft; m <= kMedian; ++m) {
            const uint64_t sum = residuals(samples, width, rows, bits, m, z);
            if (sum < best) best = sum, method = m;
        }
    }
    if (method != kStored) {
        const uint64_t sum = residuals(samples, width, rows, bits, method, z);
        if (k == NORVIK_AUTO) {
            const uint64_t mean = count == 0 ? 0 : sum / count;
            const int guess = mean == 0 ? 0 : static_cast<int>(std::bit_width(mean)) - 1;
            uint64_t bestBits = UINT64_MAX;
            for (int c = std::max(0, guess - 2); c <= std::min(static_cast<int>(bits) - 1, guess + 1); ++c) {
                const uint64_t b = riceBits(z, count, static_cast<unsigned>(c), bits);
                if (b < bestBits) bestBits = b, k = static_cast<uint32_t>(c);
            }
            if (automatic && (bestBits + 7) / 8 >= storedBytes) method = kStored;
        }
    }
    if (method == kStored) {
        writeHeader(out, kStored, 0, storedBytes);
        const size_t at = out.size();
        out.resize(at + storedBytes);
        for (size_t i = 0; i < count; ++i) {
            if (bits == 8)
                out[at + i] = static_cast<uint8_t>(samples[i]);
            else
                writeLe16(out.data() + at + 2 * i, samples[i]);
        }
        return;
    }
    const size_t headerAt = out.size();
    writeHeader(out, method, k, 0);
    BitWriter writer(out);
    for (size_t i = 0; i < count; ++i) writer.writeRice(z[i], k, bits);
    writer.finish();
    writeLe32(out.data() + headerAt + 4, static_cast<uint32_t>(out.size() - headerAt - kSlicePlaneHeaderSize));
}

Encoder::Encoder(const StreamFormat& stream, const SourceLayout& layout, const NorvikEncodeOptions& options)
    : m_stream(stream), m_layout(layout), m_options(options) {}

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
                           m_options.method, m_options.riceParameter, m_scratch[worker], part);
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
