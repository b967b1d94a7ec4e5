#include "Source.h"

#include <algorithm>
#include <cstring>

#include "Bytes.h"

namespace norvik {

int32_t resolveSource(const CompressedType& type, const CodecFormat& source, SourceLayout& layout) {
    if (source.form != NORVIK_FORM_EXTENDED || source.version != NORVIK_FORM_VERSION) return NORVIK_E_RECORD;
    if ((source.flags & ~3u) != 0) return NORVIK_E_SOURCE;
    SourceLayout l;
    l.bottomUp = (source.flags & NORVIK_FLAG_BOTTOM_UP) != 0;
    l.range32768 = (source.flags & NORVIK_FLAG_RANGE_32768) != 0;
    if (source.type == type.type) {
        if (l.range32768) return NORVIK_E_SOURCE;
        layout = l;
        return NORVIK_OK;
    }
    l.packed = findOutputType(source.type);
    if (l.packed == nullptr) return NORVIK_E_SOURCE;
    if (l.range32768 && l.packed->bits != 16) return NORVIK_E_SOURCE;
    bool ok = false;
    switch (type.model) {
        case Model::Rgb: ok = l.packed->model == Model::Rgb; break;
        case Model::Grey: ok = l.packed->model == Model::Yuv; break;
        case Model::Yuv: ok = l.packed->model == Model::Yuv && l.packed->chroma422 == (type.chromaX == 2); break;
    }
    if (!ok) return NORVIK_E_SOURCE;
    layout = l;
    return NORVIK_OK;
}

uint64_t sourceRowBytes(const StreamFormat& f, const SourceLayout& layout, uint32_t plane) {
    if (layout.packed != nullptr) return plane == 0 ? outputRowBytes(layout.packed->type, f.width) : 0;
    if (plane >= f.type->planes) return 0;
    return static_cast<uint64_t>(planeWidth(*f.type, plane, f.width)) * (f.type->bits == 8 ? 1 : 2);
}

namespace {

// One packed row -> components at the layout's depth: c[0..2] R, G, B or Y, U, V
// (U, V at half width for the 4:2:2 layouts), c[3] alpha when the layout has it.
void unpackRow(uint32_t type, const uint8_t* s, uint32_t w, uint16_t* c[4]) {
    if (type == 4 || type == 5) {
        const int yo = type == 4 ? 0 : 1, uo = type == 4 ? 1 : 0;
        for (uint32_t i = 0; i < (w + 1) / 2; ++i) {
            const uint8_t* g = s + 4 * i;
            c[0][2 * i] = g[yo];
            if (2 * i + 1 < w) c[0][2 * i + 1] = g[yo + 2];
            c[1][i] = g[uo];
            c[2][i] = g[uo + 2];
        }
        return;
    }
    if (type == 11) {
        for (uint32_t g = 0; g < (w + 5) / 6; ++g) {
            uint32_t v[12];
            for (int j = 0; j < 4; ++j) {
                const uint32_t word = readLe32(s + 16 * g + 4 * j);
                for (int k = 0; k < 3; ++k) v[3 * j + k] = (word >> (10 * k)) & 0x3FFu;
            }
            // Cb0 Y0 Cr0 Y1 Cb1 Y2 Cr1 Y3 Cb2 Y4 Cr2 Y5
            for (uint32_t k = 0; k < 6; ++k)
                if (6 * g + k < w) c[0][6 * g + k] = static_cast<uint16_t>(v[2 * k + 1]);
            for (uint32_t k = 0; k < 3; ++k) {
                if (3 * g + k >= (w + 1) / 2) break;
                c[1][3 * g + k] = static_cast<uint16_t>(v[4 * k]);
                c[2][3 * g + k] = static_cast<uint16_t>(v[4 * k + 2]);
            }
        }
        return;
    }
    for (uint32_t x = 0; x < w; ++x) {
        const uint8_t* p = s + (type == 31 || type == 32 ? 8 : 4) * static_cast<size_t>(x);
        uint32_t r, g, b, a = 0;
        switch (type) {
            case 1:
            case 2:
            case 49:
            case 50:
                b = p[0];
                g = p[1];
                r = p[2];
                a = p[3];
                break;
            case 16:
            case 19:
                a = p[0];
                r = p[1];
                g = p[2];
                b = p[3];
                break;
            case 15: {
                const uint32_t word = readLe32(p);
                b = word & 0x3FF;
                g = (word >> 10) & 0x3FF;
                r = (word >> 20) & 0x3FF;
                break;
            }
            default:
                b = readLe16(p);
                g = readLe16(p + 2);
                r = readLe16(p + 4);
                a = readLe16(p + 6);
                break;
        }
        // For 49 and 50 the bytes are V, U, Y, A: "r" holds Y and "b" holds V.
        c[0][x] = static_cast<uint16_t>(r);
        c[1][x] = static_cast<uint16_t>(g);
        c[2][x] = static_cast<uint16_t>(b);
        c[3][x] = static_cast<uint16_t>(a);
    }
}

// A sample of the layout -> a sample at the stream's depth.
struct DepthIn {
    unsigned from, to;
    bool range32768;
    uint32_t operator()(uint32_t x) const {
        if (range32768) {
            const uint64_t full = (uint64_t{1} << to) - 1;
            return static_cast<uint32_t>(std::min<uint64_t>((x * full * 2 + 32768) / 65536, full));
        }
        if (to >= from) return x << (to - from);
        const unsigned d = from - to;
        return std::min((x + (1u << (d - 1))) >> d, (1u << to) - 1u);
    }
};

}  // namespace

namespace {

const uint8_t* sourceRow(const CodecPlane& p, uint32_t row, uint32_t height, bool bottomUp) {
    const uint32_t r = bottomUp ? height - 1 - row : row;
    return reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(p.data)) + static_cast<size_t>(r) * p.rowStride;
}

void readPlanar(const StreamFormat& f, const SourceLayout& layout, const CodecPlane planes[4],
                SampleBuffer coded[4]) {
    const CompressedType& t = *f.type;
    const uint32_t mask = (1u << t.bits) - 1u;
    for (uint32_t p = 0; p < t.planes; ++p) {
        const uint32_t w = planeWidth(t, p, f.width), h = planeHeight(t, p, f.height);
        for (uint32_t y = 0; y < h; ++y) {
            const uint8_t* s = sourceRow(planes[p], y, h, layout.bottomUp);
            uint16_t* d = coded[p].data() + static_cast<size_t>(y) * w;
            if (t.bits == 8) {  // two loops, so the compiler can vectorise each
                for (uint32_t x = 0; x < w; ++x) d[x] = s[x];
            } else {
                for (uint32_t x = 0; x < w; ++x) d[x] = static_cast<uint16_t>(readLe16(s + 2 * x) & mask);
            }
        }
    }
    if (t.model != Model::Rgb) return;
    for (size_t i = 0; i < coded[0].size(); ++i) {
        coded[1][i] = static_cast<uint16_t>((coded[1][i] - coded[0][i]) & mask);
        coded[2][i] = static_cast<uint16_t>((coded[2][i] - coded[0][i]) & mask);
    }
}

}  // namespace

void readSource(const StreamFormat& f, const SourceLayout& layout, const CodecPlane planes[4],
                SampleBuffer coded[4]) {
    const CompressedType& t = *f.type;
    // Every sample is written below, so a plane kept from the last frame is not cleared.
    for (uint32_t p = 0; p < t.planes; ++p)
        coded[p].resize(static_cast<size_t>(planeWidth(t, p, f.width)) * planeHeight(t, p, f.height));
    if (layout.packed == nullptr) {
        readPlanar(f, layout, planes, coded);
        return;
    }
    const uint32_t w = f.width;
    const uint32_t mask = (1u << t.bits) - 1u;
    const DepthIn depth{layout.packed->bits, t.bits, layout.range32768};
    std::vector<uint16_t> buf(4 * (static_cast<size_t>(w) + 8));
    uint16_t* c[4] = {buf.data(), buf.data() + w + 8, buf.data() + 2 * (w + 8), buf.data() + 3 * (w + 8)};
    const bool alpha = layout.packed->alpha;
    const uint32_t cw = planeWidth(t, 1, w);
    for (uint32_t y = 0; y < f.height; ++y) {
        unpackRow(layout.packed->type, sourceRow(planes[0], y, f.height, layout.bottomUp), w, c);
        const size_t row = static_cast<size_t>(y) * w;
        if (t.model == Model::Rgb) {
            for (uint32_t x = 0; x < w; ++x) {
                const uint32_t r = depth(c[0][x]), g = depth(c[1][x]), b = depth(c[2][x]);
                coded[0][row + x] = static_cast<uint16_t>(g);
                coded[1][row + x] = static_cast<uint16_t>((b - g) & mask);
                coded[2][row + x] = static_cast<uint16_t>((r - g) & mask);
                if (t.alpha()) coded[3][row + x] = static_cast<uint16_t>(alpha ? depth(c[3][x]) : mask);
            }
            continue;
        }
        for (uint32_t x = 0; x < w; ++x) coded[0][row + x] = static_cast<uint16_t>(depth(c[0][x]));
        if (t.model == Model::Grey) continue;
        if (t.alpha())
            for (uint32_t x = 0; x < w; ++x) coded[3][row + x] = static_cast<uint16_t>(alpha ? depth(c[3][x]) : mask);
        // Chroma rows: a 4:2:0 row averages the two source rows, rounding half up.
        const size_t crow = static_cast<size_t>(t.chromaY == 2 ? y / 2 : y) * cw;
        const bool second = t.chromaY == 2 && y % 2 == 1;
        for (int k = 1; k <= 2; ++k) {
            uint16_t* d = coded[k].data() + crow;
            for (uint32_t x = 0; x < cw; ++x) {
                const uint32_t v = depth(c[k][x]);
                d[x] = static_cast<uint16_t>(second ? (d[x] + v + 1) >> 1 : v);
            }
        }
    }
}

}  // namespace norvik
