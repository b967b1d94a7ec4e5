#include "norvikhost/PixelLayout.h"

#include <algorithm>
#include <iterator>

namespace norvikhost {

using namespace prsdk;

namespace {

// How a format's pixels are laid out in memory.
enum class Layout {
    Unknown,
    Bytes4,      // 4:4:4:4 8-bit, and 10-bit RGB in one 32-bit word
    Bytes8,      // 4:4:4:4 16-bit
    Bytes16,     // 4:4:4:4 32-bit float
    Yuv422_8,    // two pixels in 4 bytes
    Yuv422_32f,  // two pixels in 16 bytes
    V210,        // six pixels in 16 bytes, rows in 128-byte groups
    Planar420,   // 8-bit luma plane, two quarter-size chroma planes
    Compressed,  // DV
    Special,     // raw, invalid, any
};

constexpr PrPixelFormat kBytes4[] = {
    PrPixelFormat_BGRA_4444_8u, PrPixelFormat_VUYA_4444_8u, PrPixelFormat_VUYA_4444_8u_709, PrPixelFormat_ARGB_4444_8u,
    PrPixelFormat_BGRX_4444_8u, PrPixelFormat_VUYX_4444_8u, PrPixelFormat_VUYX_4444_8u_709, PrPixelFormat_XRGB_4444_8u,
    PrPixelFormat_BGRP_4444_8u, PrPixelFormat_VUYP_4444_8u, PrPixelFormat_VUYP_4444_8u_709, PrPixelFormat_PRGB_4444_8u,
    PrPixelFormat_RGB_444_10u};
constexpr PrPixelFormat kBytes8[] = {
    PrPixelFormat_BGRA_4444_16u, PrPixelFormat_VUYA_4444_16u, PrPixelFormat_ARGB_4444_16u, PrPixelFormat_BGRX_4444_16u,
    PrPixelFormat_XRGB_4444_16u, PrPixelFormat_BGRP_4444_16u, PrPixelFormat_PRGB_4444_16u};
constexpr PrPixelFormat kBytes16[] = {
    PrPixelFormat_BGRA_4444_32f,        PrPixelFormat_VUYA_4444_32f,        PrPixelFormat_VUYA_4444_32f_709,
    PrPixelFormat_ARGB_4444_32f,        PrPixelFormat_BGRX_4444_32f,        PrPixelFormat_VUYX_4444_32f,
    PrPixelFormat_VUYX_4444_32f_709,    PrPixelFormat_XRGB_4444_32f,        PrPixelFormat_BGRP_4444_32f,
    PrPixelFormat_VUYP_4444_32f,        PrPixelFormat_VUYP_4444_32f_709,    PrPixelFormat_PRGB_4444_32f,
    PrPixelFormat_BGRA_4444_32f_Linear, PrPixelFormat_BGRP_4444_32f_Linear, PrPixelFormat_BGRX_4444_32f_Linear,
    PrPixelFormat_ARGB_4444_32f_Linear, PrPixelFormat_PRGB_4444_32f_Linear, PrPixelFormat_XRGB_4444_32f_Linear};
constexpr PrPixelFormat kYuv422_8[] = {PrPixelFormat_YUYV_422_8u_601, PrPixelFormat_YUYV_422_8u_709,
                                       PrPixelFormat_UYVY_422_8u_601, PrPixelFormat_UYVY_422_8u_709};
constexpr PrPixelFormat kYuv422_32f[] = {PrPixelFormat_UYVY_422_32f_601, PrPixelFormat_UYVY_422_32f_709};
constexpr PrPixelFormat kV210[] = {PrPixelFormat_V210_422_10u_601, PrPixelFormat_V210_422_10u_709};
constexpr PrPixelFormat kCompressed[] = {PrPixelFormat_NTSCDV25,        PrPixelFormat_PALDV25,
                                         PrPixelFormat_NTSCDV50,        PrPixelFormat_PALDV50,
                                         PrPixelFormat_NTSCDV100_720p,  PrPixelFormat_PALDV100_720p,
                                         PrPixelFormat_NTSCDV100_1080i, PrPixelFormat_PALDV100_1080i};
constexpr PrPixelFormat kSpecial[] = {PrPixelFormat_Raw, PrPixelFormat_Invalid, PrPixelFormat_Any};

// Formats that carry alpha, straight or premultiplied.
constexpr PrPixelFormat kWithAlpha[] = {
    PrPixelFormat_BGRA_4444_8u,         PrPixelFormat_VUYA_4444_8u,         PrPixelFormat_VUYA_4444_8u_709,
    PrPixelFormat_ARGB_4444_8u,         PrPixelFormat_BGRP_4444_8u,         PrPixelFormat_VUYP_4444_8u,
    PrPixelFormat_VUYP_4444_8u_709,     PrPixelFormat_PRGB_4444_8u,         PrPixelFormat_BGRA_4444_16u,
    PrPixelFormat_VUYA_4444_16u,        PrPixelFormat_ARGB_4444_16u,        PrPixelFormat_BGRP_4444_16u,
    PrPixelFormat_PRGB_4444_16u,        PrPixelFormat_BGRA_4444_32f,        PrPixelFormat_VUYA_4444_32f,
    PrPixelFormat_VUYA_4444_32f_709,    PrPixelFormat_ARGB_4444_32f,        PrPixelFormat_BGRP_4444_32f,
    PrPixelFormat_VUYP_4444_32f,        PrPixelFormat_VUYP_4444_32f_709,    PrPixelFormat_PRGB_4444_32f,
    PrPixelFormat_BGRA_4444_32f_Linear, PrPixelFormat_BGRP_4444_32f_Linear, PrPixelFormat_ARGB_4444_32f_Linear,
    PrPixelFormat_PRGB_4444_32f_Linear};

template <std::size_t N>
bool contains(const PrPixelFormat (&list)[N], PrPixelFormat format) {
    return std::find(std::begin(list), std::end(list), format) != std::end(list);
}

Layout layoutOf(PrPixelFormat format) {
    if (contains(kBytes4, format)) return Layout::Bytes4;
    if (contains(kBytes8, format)) return Layout::Bytes8;
    if (contains(kBytes16, format)) return Layout::Bytes16;
    if (contains(kYuv422_8, format)) return Layout::Yuv422_8;
    if (contains(kYuv422_32f, format)) return Layout::Yuv422_32f;
    if (contains(kV210, format)) return Layout::V210;
    if (contains(kCompressed, format)) return Layout::Compressed;
    if (contains(kSpecial, format)) return Layout::Special;
    if (contains(kAllPixelFormats, format)) return Layout::Planar420;  // the remaining host formats
    return Layout::Unknown;
}

std::int64_t roundUp(std::int64_t value, std::int64_t multiple) { return (value + multiple - 1) / multiple * multiple; }

}  // namespace

bool isKnownPixelFormat(PrPixelFormat format) { return layoutOf(format) != Layout::Unknown; }

bool pixelFormatIsCompressed(PrPixelFormat format) { return layoutOf(format) == Layout::Compressed; }

bool pixelFormatHasAlpha(PrPixelFormat format) { return contains(kWithAlpha, format); }

bool pixelFormatIsPlanar(PrPixelFormat format) { return layoutOf(format) == Layout::Planar420; }

bool pixelFormatDefaultTopLeft(PrPixelFormat format) {
    const Layout layout = layoutOf(format);
    return !(layout == Layout::Bytes4 || layout == Layout::Bytes8 || layout == Layout::Bytes16);
}

std::int64_t packedRowBytes(PrPixelFormat format, std::int32_t width) {
    if (width < 1) return 0;
    const std::int64_t w = width;
    switch (layoutOf(format)) {
        case Layout::Bytes4: return 4 * w;
        case Layout::Bytes8: return 8 * w;
        case Layout::Bytes16: return 16 * w;
        case Layout::Yuv422_8: return 4 * ((w + 1) / 2);
        case Layout::Yuv422_32f: return 16 * ((w + 1) / 2);
        case Layout::V210: return 16 * ((w + 5) / 6);
        case Layout::Planar420: return w;
        default: return 0;
    }
}

std::int64_t hostRowBytes(PrPixelFormat format, std::int32_t width) {
    const std::int64_t packed = packedRowBytes(format, width);
    if (packed == 0) return 0;
    return roundUp(packed + 1, layoutOf(format) == Layout::V210 ? 128 : kRowAlignment);
}

std::int64_t frameBufferSize(PrPixelFormat format, std::int32_t width, std::int32_t height) {
    const std::int64_t rowBytes = hostRowBytes(format, width);
    if (rowBytes == 0 || height < 1) return 0;
    if (layoutOf(format) != Layout::Planar420) return rowBytes * height;
    const std::int64_t chromaRow = roundUp((rowBytes + 1) / 2, kRowAlignment / 2);
    return rowBytes * height + 2 * chromaRow * ((std::int64_t(height) + 1) / 2);
}

}  // namespace norvikhost
