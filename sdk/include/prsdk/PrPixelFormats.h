// The host pixel formats: four characters, the first in the least significant byte.
// kAllPixelFormats lists every one the host defines, in the host's own order.
#pragma once

#include <iterator>

#include "prsdk/PrTypes.h"

namespace prsdk {

constexpr PrPixelFormat PrPixelFormat_BGRA_4444_8u = makeFourCC("bgra");
constexpr PrPixelFormat PrPixelFormat_VUYA_4444_8u = makeFourCC("vuya");
constexpr PrPixelFormat PrPixelFormat_VUYA_4444_8u_709 = makeFourCC("VUYA");
constexpr PrPixelFormat PrPixelFormat_ARGB_4444_8u = makeFourCC("argb");
constexpr PrPixelFormat PrPixelFormat_BGRX_4444_8u = makeFourCC("bgrx");
constexpr PrPixelFormat PrPixelFormat_VUYX_4444_8u = makeFourCC("vuyx");
constexpr PrPixelFormat PrPixelFormat_VUYX_4444_8u_709 = makeFourCC("vux7");
constexpr PrPixelFormat PrPixelFormat_XRGB_4444_8u = makeFourCC("xrgb");
constexpr PrPixelFormat PrPixelFormat_BGRP_4444_8u = makeFourCC("bgrp");
constexpr PrPixelFormat PrPixelFormat_VUYP_4444_8u = makeFourCC("vuyp");
constexpr PrPixelFormat PrPixelFormat_VUYP_4444_8u_709 = makeFourCC("vup7");
constexpr PrPixelFormat PrPixelFormat_PRGB_4444_8u = makeFourCC("prgb");
constexpr PrPixelFormat PrPixelFormat_BGRA_4444_16u = makeFourCC("Bgra");
constexpr PrPixelFormat PrPixelFormat_VUYA_4444_16u = makeFourCC("Vuya");
constexpr PrPixelFormat PrPixelFormat_ARGB_4444_16u = makeFourCC("Argb");
constexpr PrPixelFormat PrPixelFormat_BGRX_4444_16u = makeFourCC("Bgrx");
constexpr PrPixelFormat PrPixelFormat_XRGB_4444_16u = makeFourCC("Xrgb");
constexpr PrPixelFormat PrPixelFormat_BGRP_4444_16u = makeFourCC("Bgrp");
constexpr PrPixelFormat PrPixelFormat_PRGB_4444_16u = makeFourCC("Prgb");
constexpr PrPixelFormat PrPixelFormat_BGRA_4444_32f = makeFourCC("BGra");
constexpr PrPixelFormat PrPixelFormat_VUYA_4444_32f = makeFourCC("VUya");
constexpr PrPixelFormat PrPixelFormat_VUYA_4444_32f_709 = makeFourCC("vUYa");
constexpr PrPixelFormat PrPixelFormat_ARGB_4444_32f = makeFourCC("ARgb");
constexpr PrPixelFormat PrPixelFormat_BGRX_4444_32f = makeFourCC("BGrx");
constexpr PrPixelFormat PrPixelFormat_VUYX_4444_32f = makeFourCC("VUyx");
constexpr PrPixelFormat PrPixelFormat_VUYX_4444_32f_709 = makeFourCC("VUx7");
constexpr PrPixelFormat PrPixelFormat_XRGB_4444_32f = makeFourCC("XRgb");
constexpr PrPixelFormat PrPixelFormat_BGRP_4444_32f = makeFourCC("BGrp");
constexpr PrPixelFormat PrPixelFormat_VUYP_4444_32f = makeFourCC("VUyp");
constexpr PrPixelFormat PrPixelFormat_VUYP_4444_32f_709 = makeFourCC("VUp7");
constexpr PrPixelFormat PrPixelFormat_PRGB_4444_32f = makeFourCC("PRgb");
constexpr PrPixelFormat PrPixelFormat_BGRA_4444_32f_Linear = makeFourCC("BGaL");
constexpr PrPixelFormat PrPixelFormat_BGRP_4444_32f_Linear = makeFourCC("BGpL");
constexpr PrPixelFormat PrPixelFormat_BGRX_4444_32f_Linear = makeFourCC("BGxL");
constexpr PrPixelFormat PrPixelFormat_ARGB_4444_32f_Linear = makeFourCC("ARgL");
constexpr PrPixelFormat PrPixelFormat_PRGB_4444_32f_Linear = makeFourCC("PRgL");
constexpr PrPixelFormat PrPixelFormat_XRGB_4444_32f_Linear = makeFourCC("XRgL");
constexpr PrPixelFormat PrPixelFormat_RGB_444_10u = makeFourCC("RGB1");
constexpr PrPixelFormat PrPixelFormat_YUYV_422_8u_601 = makeFourCC("yuy2");
constexpr PrPixelFormat PrPixelFormat_YUYV_422_8u_709 = makeFourCC("yuy3");
constexpr PrPixelFormat PrPixelFormat_UYVY_422_8u_601 = makeFourCC("uyvy");
constexpr PrPixelFormat PrPixelFormat_UYVY_422_8u_709 = makeFourCC("uyv7");
constexpr PrPixelFormat PrPixelFormat_V210_422_10u_601 = makeFourCC("v210");
constexpr PrPixelFormat PrPixelFormat_V210_422_10u_709 = makeFourCC("v211");
constexpr PrPixelFormat PrPixelFormat_UYVY_422_32f_601 = makeFourCC("UYvy");
constexpr PrPixelFormat PrPixelFormat_UYVY_422_32f_709 = makeFourCC("UYv7");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_601 = makeFourCC("yv12");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_601 = makeFourCC("yvi2");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_601_FullRange = makeFourCC("yv1f");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_601_FullRange = makeFourCC("yvif");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_709 = makeFourCC("yv17");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_709 = makeFourCC("yvi7");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_709_FullRange = makeFourCC("yv1F");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_709_FullRange = makeFourCC("yviF");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_601 = makeFourCC("Yv12");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_601 = makeFourCC("Yvi2");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_601_FullRange = makeFourCC("Yv1f");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_601_FullRange = makeFourCC("Yvif");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_709 = makeFourCC("Yv17");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_709 = makeFourCC("Yvi7");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_709_FullRange = makeFourCC("Yv1F");
constexpr PrPixelFormat PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_709_FullRange = makeFourCC("YviF");
constexpr PrPixelFormat PrPixelFormat_NTSCDV25 = makeFourCC("dvn2");
constexpr PrPixelFormat PrPixelFormat_PALDV25 = makeFourCC("dvp2");
constexpr PrPixelFormat PrPixelFormat_NTSCDV50 = makeFourCC("dvn5");
constexpr PrPixelFormat PrPixelFormat_PALDV50 = makeFourCC("dvp5");
constexpr PrPixelFormat PrPixelFormat_NTSCDV100_720p = makeFourCC("dvn7");
constexpr PrPixelFormat PrPixelFormat_PALDV100_720p = makeFourCC("dvp7");
constexpr PrPixelFormat PrPixelFormat_NTSCDV100_1080i = makeFourCC("dvn1");
constexpr PrPixelFormat PrPixelFormat_PALDV100_1080i = makeFourCC("dvp1");
constexpr PrPixelFormat PrPixelFormat_Raw = makeFourCC("raww");
constexpr PrPixelFormat PrPixelFormat_Invalid = makeFourCC("badf");
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
static_assert(PrPixelFormat_BGRA_4444_32f_Linear == makeFourCC("BGaL"));
static_assert(PrPixelFormat_RGB_444_10u == makeFourCC("RGB1"));
static_assert(PrPixelFormat_V210_422_10u_601 == makeFourCC("v210"));

// No two formats share a code.
constexpr bool allPixelFormatsDistinct() {
    for (auto a = std::begin(kAllPixelFormats); a != std::end(kAllPixelFormats); ++a)
        for (auto b = a + 1; b != std::end(kAllPixelFormats); ++b)
            if (*a == *b) return false;
    return true;
}
static_assert(allPixelFormatsDistinct());

}  // namespace prsdk
