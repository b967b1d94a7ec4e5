#include "norvikhost/PixelFormatNames.h"

namespace norvikhost {

using namespace prsdk;

namespace {

struct NamedFormat {
    PrPixelFormat format;
    const char* name;
};

constexpr NamedFormat kNames[] = {
    {PrPixelFormat_BGRA_4444_8u, "BGRA_4444_8u"},
    {PrPixelFormat_VUYA_4444_8u, "VUYA_4444_8u"},
    {PrPixelFormat_VUYA_4444_8u_709, "VUYA_4444_8u_709"},
    {PrPixelFormat_ARGB_4444_8u, "ARGB_4444_8u"},
    {PrPixelFormat_BGRX_4444_8u, "BGRX_4444_8u"},
    {PrPixelFormat_VUYX_4444_8u, "VUYX_4444_8u"},
    {PrPixelFormat_VUYX_4444_8u_709, "VUYX_4444_8u_709"},
    {PrPixelFormat_XRGB_4444_8u, "XRGB_4444_8u"},
    {PrPixelFormat_BGRP_4444_8u, "BGRP_4444_8u"},
    {PrPixelFormat_VUYP_4444_8u, "VUYP_4444_8u"},
    {PrPixelFormat_VUYP_4444_8u_709, "VUYP_4444_8u_709"},
    {PrPixelFormat_PRGB_4444_8u, "PRGB_4444_8u"},
    {PrPixelFormat_BGRA_4444_16u, "BGRA_4444_16u"},
    {PrPixelFormat_VUYA_4444_16u, "VUYA_4444_16u"},
    {PrPixelFormat_ARGB_4444_16u, "ARGB_4444_16u"},
    {PrPixelFormat_BGRX_4444_16u, "BGRX_4444_16u"},
    {PrPixelFormat_XRGB_4444_16u, "XRGB_4444_16u"},
    {PrPixelFormat_BGRP_4444_16u, "BGRP_4444_16u"},
    {PrPixelFormat_PRGB_4444_16u, "PRGB_4444_16u"},
    {PrPixelFormat_BGRA_4444_32f, "BGRA_4444_32f"},
    {PrPixelFormat_VUYA_4444_32f, "VUYA_4444_32f"},
    {PrPixelFormat_VUYA_4444_32f_709, "VUYA_4444_32f_709"},
    {PrPixelFormat_ARGB_4444_32f, "ARGB_4444_32f"},
    {PrPixelFormat_BGRX_4444_32f, "BGRX_4444_32f"},
    {PrPixelFormat_VUYX_4444_32f, "VUYX_4444_32f"},
    {PrPixelFormat_VUYX_4444_32f_709, "VUYX_4444_32f_709"},
    {PrPixelFormat_XRGB_4444_32f, "XRGB_4444_32f"},
    {PrPixelFormat_BGRP_4444_32f, "BGRP_4444_32f"},
    {PrPixelFormat_VUYP_4444_32f, "VUYP_4444_32f"},
    {PrPixelFormat_VUYP_4444_32f_709, "VUYP_4444_32f_709"},
    {PrPixelFormat_PRGB_4444_32f, "PRGB_4444_32f"},
    {PrPixelFormat_BGRA_4444_32f_Linear, "BGRA_4444_32f_Linear"},
    {PrPixelFormat_BGRP_4444_32f_Linear, "BGRP_4444_32f_Linear"},
    {PrPixelFormat_BGRX_4444_32f_Linear, "BGRX_4444_32f_Linear"},
    {PrPixelFormat_ARGB_4444_32f_Linear, "ARGB_4444_32f_Linear"},
    {PrPixelFormat_PRGB_4444_32f_Linear, "PRGB_4444_32f_Linear"},
    {PrPixelFormat_XRGB_4444_32f_Linear, "XRGB_4444_32f_Linear"},
    {PrPixelFormat_RGB_444_10u, "RGB_444_10u"},
    {PrPixelFormat_YUYV_422_8u_601, "YUYV_422_8u_601"},
    {PrPixelFormat_YUYV_422_8u_709, "YUYV_422_8u_709"},
    {PrPixelFormat_UYVY_422_8u_601, "UYVY_422_8u_601"},
    {PrPixelFormat_UYVY_422_8u_709, "UYVY_422_8u_709"},
    {PrPixelFormat_V210_422_10u_601, "V210_422_10u_601"},
    {PrPixelFormat_V210_422_10u_709, "V210_422_10u_709"},
    {PrPixelFormat_UYVY_422_32f_601, "UYVY_422_32f_601"},
    {PrPixelFormat_UYVY_422_32f_709, "UYVY_422_32f_709"},
    {PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_601, "YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_601"},
    {PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_601, "YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_601"},
    {PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_601_FullRange,
     "YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_601_FullRange"},
    {PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_601_FullRange,
     "YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_601_FullRange"},
    {PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_709, "YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_709"},
    {PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_709, "YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_709"},
    {PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_709_FullRange,
     "YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_709_FullRange"},
    {PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_709_FullRange,
     "YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_709_FullRange"},
    {PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_601, "YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_601"},
    {PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_601, "YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_601"},
    {PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_601_FullRange,
     "YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_601_FullRange"},
    {PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_601_FullRange,
     "YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_601_FullRange"},
    {PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_709, "YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_709"},
    {PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_709, "YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_709"},
    {PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_709_FullRange,
     "YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_709_FullRange"},
    {PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_709_FullRange,
     "YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_709_FullRange"},
    {PrPixelFormat_NTSCDV25, "NTSCDV25"},
    {PrPixelFormat_PALDV25, "PALDV25"},
    {PrPixelFormat_NTSCDV50, "NTSCDV50"},
    {PrPixelFormat_PALDV50, "PALDV50"},
    {PrPixelFormat_NTSCDV100_720p, "NTSCDV100_720p"},
    {PrPixelFormat_PALDV100_720p, "PALDV100_720p"},
    {PrPixelFormat_NTSCDV100_1080i, "NTSCDV100_1080i"},
    {PrPixelFormat_PALDV100_1080i, "PALDV100_1080i"},
    {PrPixelFormat_Raw, "Raw"},
    {PrPixelFormat_Invalid, "Invalid"},
};

}  // namespace

const char* pixelFormatName(PrPixelFormat format) {
    for (const NamedFormat& entry : kNames)
        if (entry.format == format) return entry.name;
    return "unknown";
}

std::string pixelFormatText(PrPixelFormat format) {
    std::string text;
    for (int i = 0; i < 4; ++i) {
        const auto c = static_cast<unsigned char>((format >> (8 * i)) & 0xFF);
        text += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '.';
    }
    return text;
}

}  // namespace norvikhost
