// Decoding into every output type against a double-precision reference: moves
// that keep model, colour space and range are exact, the rest within one unit.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

#include "CodecHelpers.h"

using namespace norvik_test;

namespace {

struct Output {
    uint32_t type;
    bool rgb;
    int bits;
    bool alpha;  // has a real alpha component
    bool hasX;   // has a filler component
    bool pairs;  // 4:2:2
    uint32_t rowBytes(uint32_t w) const {
        if (type == 4 || type == 5) return (w + 1) / 2 * 4;
        if (type == 11) return (w + 5) / 6 * 16;
        return w * (bits == 16 ? 8 : 4);
    }
};

const Output kOutputs[] = {
    {1, true, 8, false, true, false},   {2, true, 8, true, false, false},    {4, false, 8, false, false, true},
    {5, false, 8, false, false, true},  {11, false, 10, false, false, true}, {15, true, 10, false, false, false},
    {16, true, 8, false, true, false},  {19, true, 8, true, false, false},   {31, true, 16, true, false, false},
    {32, true, 16, false, true, false}, {49, false, 8, false, true, false},  {50, false, 8, true, false, false},
};

// Components of one decoded pixel as the output holds them: c[0..2] are R, G, B
// or Y, U, V (for 4:2:2 outputs U, V are the pair's), c[3] alpha or filler.
struct Px {
    int c[4];
};

Px readPixel(const Output& o, const uint8_t* row, uint32_t x) {
    auto le16 = [](const uint8_t* p) { return p[0] | p[1] << 8; };
    auto le32 = [](const uint8_t* p) { return uint32_t(p[0]) | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; };
    const uint8_t* p = row + 4 * x;
    if (o.type == 16 || o.type == 19) return {{p[1], p[2], p[3], p[0]}};
    if (o.bits == 8 && !o.pairs) return {{p[2], p[1], p[0], p[3]}};  // 1, 2, 49, 50
    if (o.type == 15) return {{int(le32(p) >> 20 & 1023), int(le32(p) >> 10 & 1023), int(le32(p) & 1023), 0}};
    if (o.bits == 16) return {{le16(p + 4 * x + 4), le16(p + 4 * x + 2), le16(p + 4 * x), le16(p + 4 * x + 6)}};
    if (o.type == 4 || o.type == 5) {
        const uint8_t* g = row + 4 * (x / 2);
        const int y0 = o.type == 4 ? 0 : 1, u0 = o.type == 4 ? 1 : 0;
        return {{g[y0 + 2 * (x % 2)], g[u0], g[u0 + 2], 0}};
    }
    const uint8_t* g = row + 16 * (x / 6);  // v210
    int v[12];
    for (int j = 0; j < 12; ++j) v[j] = int(le32(g + 4 * (j / 3)) >> (10 * (j % 3)) & 1023);
    const int i = x % 6, pair = i / 2;
    return {{v[2 * i + 1], v[4 * pair], v[4 * pair + 2], 0}};
}

struct Case {
    uint32_t streamSpace, streamRange, outSpace, outRange;
    bool bottomUp, range32768;
};

double kr(uint32_t s) { return s == 1 ? 0.299 : 0.2126; }
double kb(uint32_t s) { return s == 1 ? 0.114 : 0.0722; }

// The reference: the picture's components at its depth, the model change in
// double precision, then the depth scale, rounding and clamping.
struct Reference {
    const Picture& pic;
    const Output& out;
    Case s;

    bool sameModel() const {
        if (pic.info.rgb) return out.rgb;
        return !out.rgb && s.streamSpace == s.outSpace && s.streamRange == s.outRange;
    }
    int maxOut() const { return s.range32768 ? 32768 : (1 << out.bits) - 1; }

    void source(uint32_t x, uint32_t y, double c[3]) const {
        const int n = pic.info.bits;
        if (pic.info.rgb) {
            c[0] = pic.at(2, x, y), c[1] = pic.at(0, x, y), c[2] = pic.at(1, x, y);
        } else if (pic.info.grey) {
            c[0] = pic.at(0, x, y), c[1] = c[2] = 1 << (n - 1);
        } else {
            c[0] = pic.at(0, x, y);
            c[1] = pic.at(1, x / pic.info.chromaX, y / pic.info.chromaY);
            c[2] = pic.at(2, x / pic.info.chromaX, y / pic.info.chromaY);
        }
    }

    void yuvToRgb(const double in[3], uint32_t space, uint32_t range, double rgb[3]) const {
        const int n = pic.info.bits;
        const double full = (1 << n) - 1, q = (1 << n) / 256.0;
        double ey, pb, pr;
        if (range == 1) {
            ey = (in[0] - 16 * q) / (219 * q), pb = (in[1] - 128 * q) / (224 * q), pr = (in[2] - 128 * q) / (224 * q);
        } else {
            ey = in[0] / full, pb = (in[1] - (1 << (n - 1))) / full, pr = (in[2] - (1 << (n - 1))) / full;
        }
        const double r = ey + 2 * (1 - kr(space)) * pr, b = ey + 2 * (1 - kb(space)) * pb;
        const double g = (ey - kr(space) * r - kb(space) * b) / (1 - kr(space) - kb(space));
        rgb[0] = r * full, rgb[1] = g * full, rgb[2] = b * full;
    }

    void rgbToYuv(const double rgb[3], uint32_t space, uint32_t range, double out3[3]) const {
        const int n = pic.info.bits;
        const double full = (1 << n) - 1, q = (1 << n) / 256.0;
        const double r = rgb[0] / full, g = rgb[1] / full, b = rgb[2] / full;
        const double ey = kr(space) * r + (1 - kr(space) - kb(space)) * g + kb(space) * b;
        const double pb = (b - ey) / (2 * (1 - kb(space))), pr = (r - ey) / (2 * (1 - kr(space)));
        if (range == 1)
            out3[0] = 16 * q + 219 * q * ey, out3[1] = 128 * q + 224 * q * pb, out3[2] = 128 * q + 224 * q * pr;
        else
            out3[0] = ey * full, out3[1] = (1 << (n - 1)) + full * pb, out3[2] = (1 << (n - 1)) + full * pr;
    }

    int scale(double v) const {
        const int n = pic.info.bits;
        const double f = s.range32768 ? 32768.0 / ((1 << n) - 1) : std::ldexp(1.0, out.bits - n);
        const double r = std::floor(v * f + 0.5);
        return static_cast<int>(std::clamp(r, 0.0, static_cast<double>(maxOut())));
    }

    // Per-pixel components at the output (before any chroma pairing).
    Px pixel(uint32_t x, uint32_t y) const {
        double c[3], o[3];
        source(x, y, c);
        if (sameModel())
            std::copy(c, c + 3, o);
        else if (pic.info.rgb)
            rgbToYuv(c, s.outSpace, s.outRange, o);
        else if (out.rgb)
            yuvToRgb(c, s.streamSpace, s.streamRange, o);
        else  // through RGB (converted in place)
            yuvToRgb(c, s.streamSpace, s.streamRange, c), rgbToYuv(c, s.outSpace, s.outRange, o);
        Px p{{scale(o[0]), scale(o[1]), scale(o[2]), maxOut()}};
        if (out.hasX) p.c[3] = out.bits == 16 ? maxOut() : 255;
        if (out.alpha && pic.info.planes == 4) p.c[3] = scale(pic.at(3, x, y));
        return p;
    }
};

std::string check(uint32_t type, const Output& out, const Case& s, uint32_t w, uint32_t h) {
    Handle handle;
    const auto block = streamFormat(type, w, h, 2, s.streamSpace, s.streamRange);
    const Picture pic = makePicture(type, w, h, type * 31 + out.type, true);
    const auto frame = encodePlanar(handle.get(), block, pic);
    const uint32_t flags = (s.bottomUp ? NORVIK_FLAG_BOTTOM_UP : 0) | (s.range32768 ? NORVIK_FLAG_RANGE_32768 : 0);
    std::vector<uint8_t> bytes;
    const uint32_t stride = out.rowBytes(w);
    const int32_t r =
        decodePacked(handle.get(), block, frame, record(out.type, flags, s.outSpace, s.outRange), h, stride, bytes);
    if (r != NORVIK_OK) return "decode failed with " + std::to_string(r);
    const Reference ref{pic, out, s};
    const int tolerance = ref.sameModel() ? 0 : 1;
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* row = bytes.data() + static_cast<size_t>(s.bottomUp ? h - 1 - y : y) * stride;
        for (uint32_t x = 0; x < w; ++x) {
            Px want = ref.pixel(x, y);
            if (out.pairs) {
                const uint32_t a = x & ~1u, b = std::min(a + 1, w - 1);
                const Px pa = ref.pixel(a, y), pb = ref.pixel(b, y);
                want.c[1] = (pa.c[1] + pb.c[1] + 1) >> 1;
                want.c[2] = (pa.c[2] + pb.c[2] + 1) >> 1;
            }
            const Px got = readPixel(out, row, x);
            const int comps = out.pairs || out.type == 15 ? 3 : 4;
            for (int c = 0; c < comps; ++c) {
                if (std::abs(got.c[c] - want.c[c]) > tolerance)
                    return "pixel " + std::to_string(x) + "," + std::to_string(y) + " component " + std::to_string(c) +
                           ": got " + std::to_string(got.c[c]) + ", want " + std::to_string(want.c[c]);
            }
        }
    }
    return "";
}

}  // namespace

TEST(Conversions, EveryCompressedTypeIntoEveryOutputType) {
    const Case setups[] = {
        {1, 1, 1, 1, false, false}, {1, 1, 2, 2, true, false},  {2, 2, 2, 2, false, false},
        {2, 2, 1, 1, true, false},  {2, 1, 2, 2, false, false}, {1, 2, 1, 1, true, false},
        {1, 1, 1, 1, false, true},  {1, 1, 1, 1, true, true},  // the 0..32768 range of 16-bit outputs
    };
    for (const TypeInfo& t : allTypes()) {
        for (const Output& out : kOutputs) {
            for (const Case& s : setups) {
                for (uint32_t w : {14u, 13u}) {
                    if ((w % 2 != 0 && t.chromaX == 2) || (s.range32768 && out.bits != 16)) continue;
                    const std::string err = check(t.type, out, s, w, 6);
                    EXPECT_EQ(err, "") << "type " << t.type << " into " << out.type << " stream " << s.streamSpace
                                       << "/" << s.streamRange << " output " << s.outSpace << "/" << s.outRange
                                       << (s.bottomUp ? " bottom-up" : "") << (s.range32768 ? " 0..32768" : "")
                                       << " width " << w;
                }
            }
        }
    }
}
