#include "PictureView.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "norvikhost/PixelLayout.h"

namespace norvikimport {

namespace {

// A pixel's colour, each component in [0, 1] (before clamping).
struct Rgba {
    double r, g, b, a;
};

// A YUV sample triple of `bits` bits in video range, converted with the matrix.
Rgba fromYuv(double y, double cb, double cr, int bits, std::uint32_t colorSpace) {
    const double scale = double(1 << (bits - 8));
    const double kr = colorSpace == 1 ? 0.299 : 0.2126, kb = colorSpace == 1 ? 0.114 : 0.0722;
    const double luma = (y - 16 * scale) / (219 * scale);
    const double pb = (cb - 128 * scale) / (224 * scale), pr = (cr - 128 * scale) / (224 * scale);
    const double r = luma + 2 * (1 - kr) * pr, b = luma + 2 * (1 - kb) * pb;
    return {r, (luma - kr * r - kb * b) / (1 - kr - kb), b, 1.0};
}

std::uint32_t word32(const std::uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24; }
double word16(const std::uint8_t* p) { return double(p[0] | p[1] << 8); }

// One of the twelve 10-bit components of the v210 group at `group`.
double v210Component(const std::uint8_t* group, int k) {
    return double((word32(group + 4 * (k / 3)) >> (10 * (k % 3))) & 1023);
}

Rgba pixelAt(const FrameFormat& f, const std::uint8_t* row, std::int32_t x) {
    const std::uint8_t* p4 = row + 4 * x;
    switch (f.packing) {
        case Packing::Yuyv: {
            const std::uint8_t* pair = row + 4 * (x / 2);
            return fromYuv(pair[x % 2 ? 2 : 0], pair[1], pair[3], 8, f.colorSpace);
        }
        case Packing::Uyvy: {
            const std::uint8_t* pair = row + 4 * (x / 2);
            return fromYuv(pair[x % 2 ? 3 : 1], pair[0], pair[2], 8, f.colorSpace);
        }
        case Packing::Vuya:
        case Packing::Vuyx: {
            Rgba c = fromYuv(p4[2], p4[1], p4[0], 8, f.colorSpace);
            c.a = p4[3] / 255.0;
            return c;
        }
        case Packing::Bgra:
        case Packing::Bgrx: return {p4[2] / 255.0, p4[1] / 255.0, p4[0] / 255.0, p4[3] / 255.0};
        case Packing::Argb:
        case Packing::Xrgb: return {p4[1] / 255.0, p4[2] / 255.0, p4[3] / 255.0, p4[0] / 255.0};
        case Packing::V210: {
            const std::uint8_t* group = row + 16 * (x / 6);
            const int i = x % 6;
            return fromYuv(v210Component(group, 2 * i + 1), v210Component(group, 4 * (i / 2)),
                           v210Component(group, 4 * (i / 2) + 2), 10, f.colorSpace);
        }
        case Packing::Rgb10: {
            const std::uint32_t w = word32(p4);
            return {((w >> 20) & 1023) / 1023.0, ((w >> 10) & 1023) / 1023.0, (w & 1023) / 1023.0, 1.0};
        }
        case Packing::Bgra16:
        case Packing::Bgrx16: {
            const std::uint8_t* p8 = row + 8 * x;
            return {word16(p8 + 4) / 32768, word16(p8 + 2) / 32768, word16(p8) / 32768, word16(p8 + 6) / 32768};
        }
    }
    return {0, 0, 0, 1};
}

std::uint16_t quantise(double value, double fullScale) {
    return std::uint16_t(std::lround(std::clamp(value, 0.0, 1.0) * fullScale));
}

}  // namespace

ViewImage viewOf(const FrameFormat& format, std::int32_t width, std::int32_t height,
                 const std::vector<std::uint8_t>& picture) {
    ViewImage image;
    image.width = width;
    image.height = height;
    image.channels = format.hasAlpha() ? 4 : 3;
    image.bits = format.deep() ? 16 : 8;
    const double fullScale = image.bits == 16 ? 65535.0 : 255.0;
    const auto rowLength = std::size_t(norvikhost::packedRowBytes(format.pixelFormat, width));
    if (picture.size() < rowLength * std::size_t(height))
        throw std::invalid_argument("the picture is smaller than its size");
    image.samples.reserve(std::size_t(width) * std::size_t(height) * std::size_t(image.channels));
    for (std::int32_t y = 0; y < height; ++y) {
        const std::uint8_t* row = picture.data() + rowLength * std::size_t(y);
        for (std::int32_t x = 0; x < width; ++x) {
            const Rgba c = pixelAt(format, row, x);
            for (double v : {c.r, c.g, c.b}) image.samples.push_back(quantise(v, fullScale));
            if (image.channels == 4) image.samples.push_back(quantise(c.a, fullScale));
        }
    }
    return image;
}

}  // namespace norvikimport
