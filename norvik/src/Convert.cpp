#include "Convert.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Pack.h"

namespace norvik {

uint16_t depthRule(uint32_t x, unsigned fromBits, unsigned toBits, bool range32768) {
    if (range32768) {
        const uint64_t full = (uint64_t{1} << fromBits) - 1;
        return static_cast<uint16_t>((static_cast<uint64_t>(x) * 65536 + full) / (2 * full));
    }
    if (toBits >= fromBits) return static_cast<uint16_t>(x << (toBits - fromBits));
    const unsigned d = fromBits - toBits;
    const uint32_t v = (x + (1u << (d - 1))) >> d;
    return static_cast<uint16_t>(std::min(v, (1u << toBits) - 1u));
}

RowPacker::RowPacker(const StreamFormat& stream, const OutputLayout& out)
    : m_width(stream.width), m_in(stream.type), m_out(out.type) {
    const unsigned n = m_in->bits;
    const unsigned m = m_out->bits;
    m_fullScale = out.range32768 ? 32768 : static_cast<uint16_t>((1u << m) - 1u);
    m_depth.resize(size_t{1} << n);
    for (uint32_t x = 0; x < m_depth.size(); ++x) m_depth[x] = depthRule(x, n, m, out.range32768);
    m_identityDepth = n == m && !out.range32768;
    m_alphaFromSource = m_in->alpha() && m_out->alpha;

    const bool inRgb = m_in->model == Model::Rgb;
    const bool outRgb = m_out->model == Model::Rgb;
    const bool sameModel = inRgb ? outRgb : !outRgb && stream.colorSpace == out.colorSpace && stream.range == out.range;
    m_stage = sameModel ? Stage::Lut : Stage::Affine;
    if (!sameModel) {
        Affine affine =
            modelTransform(m_in->model, stream.colorSpace, stream.range, m_out->model, out.colorSpace, out.range, n);
        const double scale = out.range32768 ? 32768.0 / static_cast<double>((1u << n) - 1u)
                                            : std::ldexp(1.0, static_cast<int>(m) - static_cast<int>(n));
        for (int j = 0; j < 3; ++j) {
            for (int i = 0; i < 3; ++i) affine.m[j][i] *= scale;
            affine.off[j] *= scale;
        }
        m_affine = AffineRows(affine, n, m_fullScale, simdLevel());
    }
    const bool pairs = m_in->model == Model::Yuv && m_in->chromaX == 2 && m_out->chroma422;
    if (sameModel && pairs)
        m_path = Path::Yuv422;
    else if (pairs && m_width % 2 == 0 && !outRgb)
        m_path = Path::AffinePairs;
    else if (inRgb && n == 8 && outRgb && m == 8)
        m_path = Path::Rgb8;
}

void RowPacker::pack(const uint16_t* const rows[4], uint8_t* dst, uint16_t* scratch) const {
    const uint32_t w = m_width;
    if (m_path == Path::Yuv422) {
        if (m_identityDepth) {
            pack422(m_out->type, rows[0], rows[1], rows[2], w, dst);
            return;
        }
        const uint32_t cw = (w + 1) / 2;
        uint16_t* y = scratch;
        uint16_t* u = y + w;
        uint16_t* v = u + cw;
        const uint16_t* lut = m_depth.data();
        for (uint32_t i = 0; i < w; ++i) y[i] = lut[rows[0][i]];
        for (uint32_t i = 0; i < cw; ++i) {
            u[i] = lut[rows[1][i]];
            v[i] = lut[rows[2][i]];
        }
        pack422(m_out->type, y, u, v, w, dst);
        return;
    }
    if (m_path == Path::AffinePairs) {
        const uint32_t cw = w / 2;
        uint16_t* y = scratch;
        uint16_t* u = y + w;
        uint16_t* v = u + cw;
        // uint8_t may view any storage.
        m_affine.applyPairs(rows[0], rows[1], rows[2], cw, y, u, v, reinterpret_cast<uint8_t*>(v + cw));
        pack422(m_out->type, y, u, v, w, dst);
        return;
    }
    if (m_path == Path::Rgb8) {
        packRgb8(m_out->type, rows, m_in->alpha(), w, dst);
        return;
    }
    const size_t stride = static_cast<size_t>(w) + 8;
    uint16_t* const c[4] = {scratch, scratch + stride, scratch + 2 * stride, scratch + 3 * stride};
    uint16_t* const o[4] = {scratch + 4 * stride, scratch + 5 * stride, scratch + 6 * stride, c[3]};
    // uint8_t may view any storage.
    auto* nearTie = reinterpret_cast<uint8_t*>(scratch + 7 * stride);
    expand(rows, c);
    packComponents(transform(c, o, nearTie), dst, scratch + 8 * stride);
}

// Rows of the coded planes -> four full-width components in the stream's model.
void RowPacker::expand(const uint16_t* const rows[4], uint16_t* const c[4]) const {
    const uint32_t w = m_width;
    const uint32_t mask = (1u << m_in->bits) - 1u;
    if (m_in->model == Model::Rgb) {
        for (uint32_t x = 0; x < w; ++x) {
            const uint32_t g = rows[0][x];
            c[0][x] = static_cast<uint16_t>((rows[2][x] + g) & mask);
            c[1][x] = static_cast<uint16_t>(g);
            c[2][x] = static_cast<uint16_t>((rows[1][x] + g) & mask);
        }
    } else if (m_in->model == Model::Grey) {
        std::memcpy(c[0], rows[0], w * sizeof(uint16_t));
        std::fill_n(c[1], w, static_cast<uint16_t>(1u << (m_in->bits - 1)));
        std::fill_n(c[2], w, static_cast<uint16_t>(1u << (m_in->bits - 1)));
    } else {
        std::memcpy(c[0], rows[0], w * sizeof(uint16_t));
        const unsigned shift = m_in->chromaX == 2 ? 1 : 0;
        for (uint32_t x = 0; x < w; ++x) {
            c[1][x] = rows[1][x >> shift];
            c[2][x] = rows[2][x >> shift];
        }
    }
    if (m_in->alpha()) std::memcpy(c[3], rows[3], w * sizeof(uint16_t));
}

// Components in the stream's model and depth -> the output's model and depth.
uint16_t* const* RowPacker::transform(uint16_t* const c[4], uint16_t* const o[4], uint8_t* nearTie) const {
    const uint32_t w = m_width;
    const uint16_t* lut = m_depth.data();
    uint16_t* const* result = c;
    if (m_stage == Stage::Lut) {
        if (!m_identityDepth)
            for (int j = 0; j < 3; ++j)
                for (uint32_t x = 0; x < w; ++x) c[j][x] = lut[c[j][x]];
    } else {
        m_affine.apply(c, o, w, nearTie);
        result = o;
    }
    if (m_alphaFromSource) {
        for (uint32_t x = 0; x < w; ++x) c[3][x] = lut[c[3][x]];
    } else {
        std::fill_n(c[3], w, m_fullScale);
    }
    return result;
}

void RowPacker::packComponents(const uint16_t* const o[4], uint8_t* dst, uint16_t* scratch) const {
    const uint32_t w = m_width;
    if (m_out->chroma422) {
        const uint32_t cw = (w + 1) / 2;
        uint16_t* u = scratch;
        uint16_t* v = scratch + cw;
        for (uint32_t i = 0; i < cw; ++i) {
            const uint32_t a = 2 * i;
            const uint32_t b = a + 1 < w ? a + 1 : a;
            u[i] = static_cast<uint16_t>((o[1][a] + o[1][b] + 1) >> 1);
            v[i] = static_cast<uint16_t>((o[2][a] + o[2][b] + 1) >> 1);
        }
        pack422(m_out->type, o[0], u, v, w, dst);
        return;
    }
    pack444(m_out->type, o, m_fullScale, w, dst);
}

}  // namespace norvik
