// The host pixel formats: four characters, the first in the least significant byte.
// kAllPixelFormats lists every one the host defines, in the host's own order.
#pragma once

#include <iterator>

#include "prsdk/PrTypes.h"

namespace prsdk {

constexpr PrPixelFormat PrPixelFormat_BGRA_4444_8u = pixelFormatCode("bgra");
constexpr PrPixelFormat PrPixelFormat_VUYA_4444_8u = pixelFormatCode("vuya");
constexpr PrPixelFormat PrPixelFormat_VUYA_4444_8u_709 = pixelFormatCode("VUYA");
constexpr PrPixelFormat PrPixelFormat_ARGB_4444_8u = pixelFormatCode("argb");
constexpr PrPixelFormat PrPixelFormat_BGRX_4444_8u = pixelFormatCode("bgrx");
constexpr PrPixelFormat PrPixelFormat_VUYX_4444_8u = pixelFormatCode("vuyx");
constexpr PrPixelFormat PrPixelFormat_VUYX_4444_8u_709 = pixelFormatCode("vux7");
constexpr PrPixelFormat PrPixelFormat_XRGB_4444_8u = pixelFormatCode("xrgb");
constexpr PrPixelFormat PrPixelFormat_BGRP_4444_8u = pixelFormatCode("bgrp");
constexpr PrPixelFormat PrPixelFormat_VUYP_4444_8u = pixelFormatCode("vuyp");
constexpr PrPixelFormat PrPixelFormat_VUYP_4444_8u_709 = pixelFormatCode("vup7");
constexpr PrPixelFormat PrPixelFormat_PRGB_4444_8u = pixelFormatCode("prgb");
constexpr PrPixelFormat PrPixelFormat_BGRA_4444_16u = pixelFormatCode("Bgra");
constexpr PrPixelFormat PrPixelFormat_VUYA_4444_16u = pixelFormatCode("Vuya");
constexpr PrPixelFormat PrPixelFormat_ARGB_4444_16u = pixelFormatCode("Argb");
constexpr PrPixelFormat PrPixelFormat_BGRX_4444_16u = pixelFormatCode("Bgrx");
constexpr PrPixelFormat PrPixelFormat_XRGB_4444_16u = pixelFormatCode("Xrgb");
constexpr PrPixelFormat PrPixelFormat_BGRP_4444_16u = pixelFormatCode("Bgrp");
constexpr PrPixelFormat PrPixelFormat_PRGB_4444_16u = pixelFormatCode("Prgb");
constexpr PrPixelFormat PrPixelFormat_BGRA_4444_32f = pixelFormatCode("BGra");
constexpr PrPixelFormat PrPixelFormat_VUYA_4444_32f = pixelFormatCode("VUya");
constexpr PrPixelFormat PrPixelFormat_VUYA_4444_32f_709 = pixelFormatCode("vUYa");
constexpr PrPixelFormat PrPixelFormat_ARGB_4444_32f = pixelFormatCode("ARgb");
constexpr PrPixelFormat PrPixelFormat_BGRX_4444_32f = pixelFormatCode("BGrx");
constexpr PrPixelFormat PrPixelFormat_VUYX_4444_32f = pixelFormatCode("VUyx");
constexpr PrPixelFormat PrPixelFormat_VUYX_4444_32f_709 = pixelFormatCode("VUx7");
constexpr PrPixelFormat PrPixelFormat_XRGB_4444_32f = pixelFormatCode("XRgb");
constexpr PrPixelFormat PrPixelFormat_BGRP_4444_32f = pixelFormatCode("BGrp");
constexpr PrPixelFormat PrPixelFormat_VUYP_4444_32f = pixelFormatCode("VUyp");
constexpr PrPixelFormat PrPixelFormat_VUYP_4444_32f_709 = pixelFormatCode("VUp7");
constexpr PrPixelFormat PrPixelFormat_PRGB_4444_32f = pixelFormatCode("PRgb");
constexpr PrPixelFormat PrPixelFormat_BGRA_4444_32f_Linear = pixelFormatCode("BGaL");
constexpr PrPixelFormat PrPixelFormat_BGRP_4444_32f_Linear = pixelFormatCode("BGpL");
constexpr PrPixelFormat PrPixelFormat_BGRX_4444_32f_Linear = pixelFormatCode("BGxL");
constexpr PrPixelFormat PrPixelFormat_ARGB_4444_32f_Linear = pixelFormatCode("ARgL");
constexpr PrPixelFormat PrPixelFormat_PRGB_4444_32f_Linear = pixelFormatCode("PRgL");
constexpr PrPixelFormat PrPixelFormat_XRGB_4444_32f_Linear = pixelFormatCode("XRgL");
constexpr PrPixelFormat PrPixelFormat_RGB_444_10u = pixelFormatCode("RGB1");
constexpr PrPixelFormat PrPixelFormat_YUYV_422_8u_601 = pixelFormatCode("yuy2");
constexpr PrPixelFormat PrPixelFormat_YUYV_422_8u_709 = pixelFormatCode("yuy3");
constexpr PrPixelFormat PrPixelFormat_UYVY_422_8u_601 = pixelFormatCode("uyvy");
constexpr PrPixelFormat PrPixelFormat_UYVY_422_8u_709 = pixelFormatCode("uyv7");
constexpr PrPixelFormat PrPixelFormat_V210_422_10u_601 = pixelFormatCode("v210");
constexpr PrPixelFormat PrPixelFormat_V210_422_10u_709 = pixelFormatCode("v211");
constexpr PrPixelFormat PrPixelFormat_UYVY_422_32f_601 = pixelFormatCode("UYvy");
constexpr PrPixelFormat PrPixelFormat_UYVY_422_32f_709 = pixelFormatCode("UYv7");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_601 = pixelFormatCode("yv12");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_601 = pixelFormatCode("yvi2");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_601_FullRange = pixelFormatCode("yv1f");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_601_FullRange = pixelFormatCode("yvif");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_709 = pixelFormatCode("yv17");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_709 = pixelFormatCode("yvi7");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_709_FullRange = pixelFormatCode("yv1F");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_709_FullRange = pixelFormatCode("yviF");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_601 = pixelFormatCode("Yv12");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_601 = pixelFormatCode("Yvi2");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_601_FullRange = pixelFormatCode("Yv1f");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_601_FullRange = pixelFormatCode("Yvif");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_709 = pixelFormatCode("Yv17");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_709 = pixelFormatCode("Yvi7");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_709_FullRange = pixelFormatCode("Yv1F");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_709_FullRange = pixelFormatCode("YviF");
constexpr PrPixelFormat PrPixelFormat_NTSCDV25 = pixelFormatCode("dvn2");
constexpr PrPixelFormat PrPixelFormat_PALDV25 = pixelFormatCode("dvp2");
constexpr PrPixelFormat PrPixelFormat_NTSCDV50 = pixelFormatCode("dvn5");
constexpr PrPixelFormat PrPixelFormat_PALDV50 = pixelFormatCode("dvp5");
constexpr PrPixelFormat PrPixelFormat_NTSCDV100_720p = pixelFormatCode("dvn7");
constexpr PrPixelFormat PrPixelFormat_PALDV100_720p = pixelFormatCode("dvp7");
constexpr PrPixelFormat PrPixelFormat_NTSCDV100_1080i = pixelFormatCode("dvn1");
constexpr PrPixelFormat PrPixelFormat_PALDV100_1080i = pixelFormatCode("dvp1");
constexpr PrPixelFormat PrPixelFormat_Raw = pixelFormatCode("raww");
constexpr PrPixelFormat PrPixelFormat_Invalid = pixelFormatCode("badf");
constexpr PrPixelFormat PrPixelFormat_Any = 0;

constexpr PrPixelFormat kAllPixelFormats[] = {
    PrPixelFormat_BGRA_4444_8u,
    PrPixelFormat_VUYA_4444_8u,
    PrPixelFormat_VUYA_4444_8u_709,
    PrPixelFormat_ARGB_4444_8u,
    PrPixelFormat_BGRX_4444_8u,
    PrPixelFormat_VUYX_4444_8u,
    PrPixelFormat_VUYX_4444_8u_709,
    PrPixelFormat_XRGB_4444_8u,
    PrPixelFormat_BGRP_4444_8u,
    PrPixelFormat_VUYP_4444_8u,
    PrPixelFormat_VUYP_4444_8u_709,
    PrPixelFormat_PRGB_4444_8u,
    PrPixelFormat_BGRA_4444_16u,
    PrPixelFormat_VUYA_4444_16u,
    PrPixelFormat_ARGB_4444_16u,
    PrPixelFormat_BGRX_4444_16u,
    PrPixelFormat_XRGB_4444_16u,
    PrPixelFormat_BGRP_4444_16u,
    PrPixelFormat_PRGB_4444_16u,
    PrPixelFormat_BGRA_4444_32f,
    PrPixelFormat_VUYA_4444_32f,
    PrPixelFormat_VUYA_4444_32f_709,
    PrPixelFormat_ARGB_4444_32f,
    PrPixelFormat_BGRX_4444_32f,
    PrPixelFormat_VUYX_4444_32f,
    PrPixelFormat_VUYX_4444_32f_709,
    PrPixelFormat_XRGB_4444_32f,
    PrPixelFormat_BGRP_4444_32f,
    PrPixelFormat_VUYP_4444_32f,
    PrPixelFormat_VUYP_4444_32f_709,
    PrPixelFormat_PRGB_4444_32f,
    PrPixelFormat_BGRA_4444_32f_Linear,
    PrPixelFormat_BGRP_4444_32f_Linear,
    PrPixelFormat_BGRX_4444_32f_Linear,
    PrPixelFormat_ARGB_4444_32f_Linear,
    PrPixelFormat_PRGB_4444_32f_Linear,
    PrPixelFormat_XRGB_4444_32f_Linear,
    PrPixelFormat_RGB_444_10u,
    PrPixelFormat_YUYV_422_8u_601,
    PrPixelFormat_YUYV_422_8u_709,
    PrPixelFormat_UYVY_422_8u_601,
    PrPixelFormat_UYVY_422_8u_709,
    PrPixelFormat_V210_422_10u_601,
    PrPixelFormat_V210_422_10u_709,
    PrPixelFormat_UYVY_422_32f_601,
    PrPixelFormat_UYVY_422_32f_709,
    PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_601,
    PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_601,
    PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_601_FullRange,
    PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_601_FullRange,
    PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_709,
    PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_709,
    PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_709_FullRange,
    PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_709_FullRange,
    PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_601,
    PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_601,
    PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_601_FullRange,
    PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_601_FullRange,
    PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_709,
    PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_709,
    PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_709_FullRange,
    PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_709_FullRange,
    PrPixelFormat_NTSCDV25,
    PrPixelFormat_PALDV25,
    PrPixelFormat_NTSCDV50,
    PrPixelFormat_PALDV50,
    PrPixelFormat_NTSCDV100_720p,
    PrPixelFormat_PALDV100_720p,
    PrPixelFormat_NTSCDV100_1080i,
    PrPixelFormat_PALDV100_1080i,
    PrPixelFormat_Raw,
    PrPixelFormat_Invalid,
    PrPixelFormat_Any,
};
static_assert(sizeof(kAllPixelFormats) / sizeof(kAllPixelFormats[0]) == 73);
static_assert(PrPixelFormat_BGRA_4444_8u == 0x61726762);
static_assert(PrPixelFormat_BGRA_4444_32f_Linear == pixelFormatCode("BGaL"));
static_assert(PrPixelFormat_RGB_444_10u == pixelFormatCode("RGB1"));
static_assert(PrPixelFormat_V210_422_10u_601 == pixelFormatCode("v210"));

// No two formats share a code.
constexpr bool allPixelFormatsDistinct() {
    for (auto a = std::begin(kAllPixelFormats); a != std::end(kAllPixelFormats); ++a)
        for (auto b = a + 1; b != std::end(kAllPixelFormats); ++b)
            if (*a == *b) return false;
    return true;
}
static_assert(allPixelFormatsDistinct());

}  // namespace prsdk
