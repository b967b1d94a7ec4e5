#include "Decoder.h"

#include <algorithm>
#include <cstring>

#include "GroupRows.h"
#include "RowDecoder.h"

namespace norvik {

int32_t resolveTarget(const StreamFormat& stream, const CodecFormat& wanted, DecodeTarget& target) {
    if (wanted.form != NORVIK_FORM_EXTENDED || wanted.version != NORVIK_FORM_VERSION) return NORVIK_E_RECORD;
    if ((wanted.width != 0 && wanted.width != stream.width) || (wanted.height != 0 && wanted.height != stream.height))
        return NORVIK_E_OUTPUT;
    if ((wanted.flags & ~3u) != 0) return NORVIK_E_OUTPUT;
    const bool range32768 = (wanted.flags & NORVIK_FLAG_RANGE_32768) != 0;
    DecodeTarget t;
    t.bottomUp = (wanted.flags & NORVIK_FLAG_BOTTOM_UP) != 0;
    if (wanted.type == stream.type->type) {
        if (range32768) return NORVIK_E_OUTPUT;
        target = t;
        return NORVIK_OK;
    }
    t.output.type = findOutputType(wanted.type);
    if (t.output.type == nullptr) return NORVIK_E_OUTPUT;
    if (range32768 && t.output.type->bits != 16) return NORVIK_E_OUTPUT;
    t.output.range32768 = range32768;
    if (t.output.type->model == Model::Yuv) {
        if (wanted.colorSpace < 1 || wanted.colorSpace > 2 || wanted.range < 1 || wanted.range > 2)
            return NORVIK_E_OUTPUT;
        t.output.colorSpace = wanted.colorSpace;
        t.output.range = wanted.range;
    } else {
        t.output.colorSpace = stream.colorSpace;
        t.output.range = 2;
    }
    target = t;
    return NORVIK_OK;
}

Decoder::Decoder(const StreamFormat& stream, const DecodeTarget& target) : m_stream(stream), m_target(target) {
    if (target.output.type != nullptr) m_packer.emplace(stream, target.output);
    m_rowSamples = static_cast<size_t>(stream.width) + 8;
    m_simd = simdLevel();
}

uint8_t* Decoder::outputRow(uint32_t plane, uint32_t row, uint32_t height) const {
    const uint32_t r = m_target.bottomUp ? height - 1 - row : row;
    return m_planes[plane].data + static_cast<size_t>(r) * m_planes[plane].stride;
}

bool Decoder::checkPlanes(const CodecPlane planes[4]) {
    if (planes == nullptr) return false;
    const CompressedType& t = *m_stream.type;
    const uint32_t count = m_packer ? 1 : t.planes;
    for (uint32_t p = 0; p < count; ++p) {
        const uint32_t w = planeWidth(t, p, m_stream.width);
        const uint32_t h = m_packer ? m_stream.height : planeHeight(t, p, m_stream.height);
        const uint64_t rowBytes =
            m_packer ? outputRowBytes(m_target.output.type->type, w) : static_cast<uint64_t>(w) * (t.bits == 8 ? 1 : 2);
        const CodecPlane& cp = planes[p];
        if (cp.data == 0 || cp.rowStride < rowBytes) return false;
        if (cp.planeSize < static_cast<uint64_t>(cp.rowStride) * (h - 1) + rowBytes) return false;
        m_planes[p] = {reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(cp.data)), cp.rowStride};
    }
    return true;
}

int32_t Decoder::decode(const uint8_t* frame, size_t size, const CodecPlane planes[4], ThreadPool& pool) {
    if (!checkPlanes(planes)) return NORVIK_E_PLANES;
    if (!parseFrame(frame, size, m_stream, m_views)) return NORVIK_E_FRAME;
    const size_t perWorker = scratchSamples();
    if (m_scratch.size() < pool.workers()) m_scratch.resize(pool.workers());
    for (auto& s : m_scratch)
        if (s.size() < perWorker) s.assign(perWorker, 0);
    std::atomic<bool> failed{false};
    const uint32_t slices = m_stream.sliceCount();
    const uint32_t lanes = groupLanes(pool.workers());
    if (lanes > 0) {
        pool.run((slices + lanes - 1) / lanes, [&](uint32_t group, unsigned worker) {
            if (!decodeSliceGroup(group * lanes, lanes, m_scratch[worker])) failed.store(true, std::memory_order_relaxed);
        });
    } else {
        pool.run((slices + 1) / 2, [&](uint32_t pair, unsigned worker) {
            if (!decodeSlicePair(2 * pair, m_scratch[worker])) failed.store(true, std::memory_order_relaxed);
        });
    }
    return failed.load() ? NORVIK_E_FRAME : NORVIK_OK;
}

// Slices per task on the AVX2 path: as many as shares the slices evenly among
// the workers, at most a vector's lanes. 0 where slices are decoded in pairs.
uint32_t Decoder::groupLanes(unsigned workers) const {
    if (m_simd != SimdLevel::Avx2) return 0;
    const uint32_t slices = m_stream.sliceCount();
    return std::min<uint32_t>(kGroupLanes, (slices + workers - 1) / workers);
}

// Scratch of one worker, then the packer's scratch. Pairs: for each of the two
// slices two rows per plane. Groups: two transposed rows per plane, transposed
// residuals, and a row per plane and lane.
size_t Decoder::scratchSamples() const {
    const size_t rows = m_simd == SimdLevel::Avx2 ? (9 + 4) * kGroupLanes : 16;
    return m_rowSamples * rows + (m_packer ? m_packer->scratchSize() : m_rowSamples);
}

// Decodes slices first and first + 1 (when it exists) row by row, the rows of the
// same plane of the two slices in lockstep, and writes each finished picture row.
bool Decoder::decodeSlicePair(uint32_t first, std::vector<uint16_t>& scratch) const {
    const CompressedType& t = *m_stream.type;
    const uint32_t planes = t.planes;
    const uint32_t count = first + 1 < m_stream.sliceCount() ? 2 : 1;
    SliceState st[2];
    uint16_t* base = scratch.data();
    for (uint32_t s = 0; s < 2; ++s) {
        for (uint32_t p = 0; p < 4; ++p)
            for (uint32_t b = 0; b < 2; ++b) st[s].buf[p][b] = base + m_rowSamples * (8 * s + 2 * p + b);
    }
    uint16_t* extra = base + m_rowSamples * 16;
    for (uint32_t s = 0; s < count; ++s) {
        st[s].luma = sliceRows(m_stream, first + s, 0);
        for (uint32_t p = 0; p < planes; ++p)
            st[s].dec[p].start(m_views[static_cast<size_t>(first + s) * planes + p], t.bits,
                               planeWidth(t, p, m_stream.width), m_simd);
    }
    const bool halfHeight = t.chromaY == 2;
    const uint32_t rowsA = st[0].luma.count;
    const uint32_t rowsB = count == 2 ? st[1].luma.count : 0;
    for (uint32_t r = 0; r < std::max(rowsA, rowsB); ++r) {
        const bool chromaRow = !halfHeight || r % 2 == 0;
        const bool both = r < rowsA && r < rowsB;
        for (uint32_t p = 0; p < planes; ++p) {
            const bool chroma = t.model == Model::Yuv && (p == 1 || p == 2);
            if (chroma && !chromaRow) continue;
            if (both) {
                st[0].decodePairedRow(st[1], p);
            } else {
                if (r < rowsA) st[0].decodeRow(p);
                if (r < rowsB) st[1].decodeRow(p);
            }
        }
        for (uint32_t s = 0; s < count; ++s)
            if (r < st[s].luma.count) writeRow(st[s].rows, st[s].luma.first + r, chromaRow, extra);
    }
    for (uint32_t s = 0; s < count; ++s)
        for (uint32_t p = 0; p < planes; ++p)
            if (st[s].dec[p].failed()) return false;
    return true;
}

#if NORVIK_HAVE_AVX2_KERNELS
// Scratch of a group: two transposed rows per plane, transposed residuals, a
// row per plane and lane, then the packer's (see scratchSamples).
Decoder::GroupBuffers Decoder::groupBuffers(std::vector<uint16_t>& scratch) const {
    const size_t rowT = m_rowSamples * kGroupLanes;
    uint16_t* base = scratch.data();
    GroupBuffers b;
    for (uint32_t p = 0; p < 4; ++p) {
        b.aboveT[p] = base + rowT * (2 * p);
        b.curT[p] = base + rowT * (2 * p + 1);
        for (uint32_t s = 0; s < kGroupLanes; ++s)
            b.laneRows[p][s] = base + rowT * 9 + m_rowSamples * (p * kGroupLanes + s);
    }
    b.residuals = reinterpret_cast<int16_t*>(base + rowT * 8);
    b.extra = base + rowT * 13;
    return b;
}

// The next row of one plane of the first `active` slices of a group.
void Decoder::decodeGroupPlaneRow(RowDecoder (*dec)[4], uint32_t active, uint32_t p, bool firstRow,
                                  GroupBuffers& b) const {
    const CompressedType& t = *m_stream.type;
    GroupMethods methods{};
    RowDecoder* planeDecoders[kGroupLanes] = {};
    int32_t starts[kGroupLanes] = {};
    for (uint32_t s = 0; s < active; ++s) {
        const int m = dec[s][p].groupMethod(firstRow);
        methods.median[s] = m == kMedian ? 0xffff : 0;
        methods.gradient[s] = m == kGradient ? 0xffff : 0;
        planeDecoders[s] = &dec[s][p];
        starts[s] = firstRow ? static_cast<int32_t>(1u << (t.bits - 1)) : b.aboveT[p][s];
    }
    RowDecoder::groupResiduals(planeDecoders, active, starts, b.residuals);
    const uint32_t w = planeWidth(t, p, m_stream.width);
    avx2::predictGroupRow(b.residuals, firstRow ? nullptr : b.aboveT[p], methods, t.bits, w, b.curT[p]);
    avx2::untransposeGroupRow(b.curT[p], w, b.laneRows[p]);
    std::swap(b.aboveT[p], b.curT[p]);
}
#endif

// Decodes slices first .. first + lanes - 1 (those that exist) row by row, the
// same plane of every slice in one step (GroupRows.h), and writes each finished
// picture row. Only the last slice of a frame can be shorter than the first.
bool Decoder::decodeSliceGroup(uint32_t first, uint32_t lanes, std::vector<uint16_t>& scratch) const {
#if NORVIK_HAVE_AVX2_KERNELS
    const CompressedType& t = *m_stream.type;
    const uint32_t count = std::min(lanes, m_stream.sliceCount() - first);
    GroupBuffers b = groupBuffers(scratch);
    RowDecoder dec[kGroupLanes][4];
    RowSpan luma[kGroupLanes];
    for (uint32_t s = 0; s < count; ++s) {
        luma[s] = sliceRows(m_stream, first + s, 0);
        for (uint32_t p = 0; p < t.planes; ++p)
            dec[s][p].start(m_views[static_cast<size_t>(first + s) * t.planes + p], t.bits,
                            planeWidth(t, p, m_stream.width), m_simd);
    }
    uint32_t active = count;
    for (uint32_t r = 0; r < luma[0].count; ++r) {
        while (r >= luma[active - 1].count) --active;
        const bool chromaRow = t.chromaY != 2 || r % 2 == 0;
        for (uint32_t p = 0; p < t.planes; ++p) {
            const bool chroma = t.model == Model::Yuv && (p == 1 || p == 2);
            if (!chroma || chromaRow) decodeGroupPlaneRow(dec, active, p, r == 0, b);
        }
        for (uint32_t s = 0; s < active; ++s) {
            const uint16_t* const rows[4] = {b.laneRows[0][s], b.laneRows[1][s], b.laneRows[2][s], b.laneRows[3][s]};
            writeRow(rows, luma[s].first + r, chromaRow, b.extra);
        }
    }
    for (uint32_t s = 0; s < count; ++s)
        for (uint32_t p = 0; p < t.planes; ++p)
            if (dec[s][p].failed()) return false;
    return true;
#else
    (void)first, (void)lanes, (void)scratch;
    return false;
#endif
}

void Decoder::SliceState::decodeRow(uint32_t p) {
    uint16_t* out = buf[p][parity[p]];
    dec[p].decodeRow(out, rows[p]);
    rows[p] = out;
    parity[p] ^= 1;
}

void Decoder::SliceState::decodePairedRow(SliceState& other, uint32_t p) {
    uint16_t* out = buf[p][parity[p]];
    uint16_t* otherOut = other.buf[p][other.parity[p]];
    RowDecoder::decodeRows(dec[p], out, rows[p], other.dec[p], otherOut, other.rows[p]);
    rows[p] = out;
    parity[p] ^= 1;
    other.rows[p] = otherOut;
    other.parity[p] ^= 1;
}

void Decoder::writeRow(const uint16_t* const rows[4], uint32_t lumaRow, bool chromaRow, uint16_t* tmp) const {
    if (m_packer)
        m_packer->pack(rows, outputRow(0, lumaRow, m_stream.height), tmp);
    else
        writePlanar(rows, lumaRow, chromaRow, tmp);
}

void Decoder::writePlanar(const uint16_t* const rows[4], uint32_t lumaRow, bool chromaRow, uint16_t* tmp) const {
    const CompressedType& t = *m_stream.type;
    const uint32_t mask = (1u << t.bits) - 1u;
    for (uint32_t p = 0; p < t.planes; ++p) {
        const bool chroma = t.model == Model::Yuv && (p == 1 || p == 2);
        if (chroma && !chromaRow) continue;
        const uint32_t w = planeWidth(t, p, m_stream.width);
        const uint32_t h = planeHeight(t, p, m_stream.height);
        const uint32_t row = chroma && t.chromaY == 2 ? lumaRow / 2 : lumaRow;
        const uint16_t* src = rows[p];
        if (t.model == Model::Rgb && (p == 1 || p == 2)) {
            for (uint32_t x = 0; x < w; ++x) tmp[x] = static_cast<uint16_t>((rows[p][x] + rows[0][x]) & mask);
            src = tmp;
        }
        uint8_t* dst = outputRow(p, row, h);
        if (t.bits == 8) {
            for (uint32_t x = 0; x < w; ++x) dst[x] = static_cast<uint8_t>(src[x]);
        } else {
            std::memcpy(dst, src, static_cast<size_t>(w) * 2);
        }
    }
}

}  // namespace norvik
