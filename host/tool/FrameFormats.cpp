#include "FrameFormats.h"

#include <stdexcept>

namespace norvikimport {

using namespace prsdk;

namespace {

const FrameFormat kFormats[] = {
    {PrPixelFormat_YUYV_422_8u_601, Packing::Yuyv, 4, 1, true},
    {PrPixelFormat_YUYV_422_8u_709, Packing::Yuyv, 4, 2, true},
    {PrPixelFormat_UYVY_422_8u_601, Packing::Uyvy, 5, 1, true},
    {PrPixelFormat_UYVY_422_8u_709, Packing::Uyvy, 5, 2, true},
    {PrPixelFormat_VUYA_4444_8u, Packing::Vuya, 50, 1, true},
    {PrPixelFormat_VUYA_4444_8u_709, Packing::Vuya, 50, 2, true},
    {PrPixelFormat_VUYX_4444_8u, Packing::Vuyx, 49, 1, true},
    {PrPixelFormat_VUYX_4444_8u_709, Packing::Vuyx, 49, 2, true},
    {PrPixelFormat_BGRA_4444_8u, Packing::Bgra, 2, 2, false},
    {PrPixelFormat_ARGB_4444_8u, Packing::Argb, 19, 2, false},
    {PrPixelFormat_BGRX_4444_8u, Packing::Bgrx, 1, 2, false},
    {PrPixelFormat_XRGB_4444_8u, Packing::Xrgb, 16, 2, false},
    {PrPixelFormat_V210_422_10u_601, Packing::V210, 11, 1, true},
    {PrPixelFormat_V210_422_10u_709, Packing::V210, 11, 2, true},
    {PrPixelFormat_RGB_444_10u, Packing::Rgb10, 15, 2, false},
    {PrPixelFormat_BGRA_4444_16u, Packing::Bgra16, 31, 2, false},
    {PrPixelFormat_BGRX_4444_16u, Packing::Bgrx16, 32, 2, false},
};

}  // namespace

const FrameFormat* findFrameFormat(PrPixelFormat pixelFormat) {
    for (const FrameFormat& format : kFormats)
        if (format.pixelFormat == pixelFormat) return &format;
    return nullptr;
}

PrPixelFormat pixelFormatFromCode(const std::string& code) {
    if (code.size() != 4) throw std::invalid_argument("a pixel format code has four characters, not '" + code + "'");
    return PrPixelFormat(std::uint8_t(code[0])) | PrPixelFormat(std::uint8_t(code[1])) << 8 |
           PrPixelFormat(std::uint8_t(code[2])) << 16 | PrPixelFormat(std::uint8_t(code[3])) << 24;
}

}  // namespace norvikimport
