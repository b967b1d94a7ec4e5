// Name tables of the host interface's numbers, for the diagnostic log.
#include "log/Names.h"

#include <cstdio>

namespace {

// A pixel format code: four characters, the first in the lowest byte.
constexpr uint32_t pf(const char (&s)[5]) {
    return uint32_t(uint8_t(s[0])) | (uint32_t(uint8_t(s[1])) << 8) | (uint32_t(uint8_t(s[2])) << 16) |
           (uint32_t(uint8_t(s[3])) << 24);
}

}  // namespace

const char* selectorName(int v) {
    switch (v) {
        case 0: return "imInit";
        case 1: return "imShutdown";
        case 5: return "imImportImage";
        case 8: return "imQuietFile";
        case 9: return "imCloseFile";
        case 12: return "imAnalysis";
        case 13: return "imDataRateAnalysis";
        case 14: return "imGetIndFormat";
        case 23: return "imGetMetaData";
        case 24: return "imSetMetaData";
        case 25: return "imImportAudio7";
        case 27: return "imGetIndPixelFormat";
        case 28: return "imGetSupports7";
        case 29: return "imResetSequentialAudio";
        case 30: return "imGetSequentialAudio";
        case 32: return "imGetRollCrawlInfo";
        case 33: return "imRollCrawlRenderPage";
        case 36: return "imGetSupports8";
        case 37: return "imGetInfo8";
        case 38: return "imGetPrefs8";
        case 39: return "imOpenFile8";
        case 40: return "imSaveFile8";
        case 41: return "imDeleteFile8";
        case 42: return "imCalcSize8";
        case 43: return "imCheckTrim8";
        case 44: return "imTrimFile8";
        case 45: return "imGetPreferredFrameSize";
        case 46: return "imCreateAsyncImporter";
        case 47: return "imGetSourceVideo";
        case 48: return "imDeferredProcessing";
        case 49: return "imGetPeakAudio";
        case 50: return "imRetargetAccelerator";
        case 51: return "imCopyFile";
        case 52: return "imGetTimeInfo8";
        case 53: return "imSetTimeInfo8";
        case 54: return "imGetSubTypeNames";
        case 55: return "imGetFileAttributes";
        case 56: return "imQueryDestinationPath";
        case 57: return "imQueryContentState";
        case 58: return "imGetIndColorProfile";
        case 59: return "imQueryInputFileList";
        case 60: return "imQueryStreamLabel";
        case 61: return "imInitiateAsyncClosedCaptionScan";
        case 62: return "imGetNextClosedCaption";
        case 63: return "imCompleteAsyncClosedCaptionScan";
        case 64: return "imGetAudioChannelLayout";
        case 65: return "imSelectClipFrameDescriptor";
        case 66: return "imPerformSourceSettingsCommand";
        default: return "????";
    }
}

const char* resultName(int v) {
    switch (v) {
        case 0: return "imNoErr";
        case 1: return "imTooWide";
        case 2: return "imBadFile";
        case 3: return "imUnsupported";
        case 4: return "imMemErr";
        case 5: return "imOtherErr";
        case 6: return "imNoContent";
        case 7: return "imBadRate";
        case 8: return "imBadCompression";
        case 9: return "imBadCodec";
        case 10: return "imNotFlat";
        case 11: return "imBadSndComp";
        case 12: return "imNoTimecode";
        case 13: return "imMissingComponent";
        case 14: return "imSaveErr";
        case 15: return "imDeleteErr";
        case 16: return "imNotFoundErr";
        case 17: return "imSetFile";
        case 18: return "imIterateStreams";
        case 19: return "imBadStreamIndex";
        case 20: return "imCantTrim";
        case 21: return "imDiskFull";
        case 22: return "imDiskErr";
        case 23: return "imFileShareViolation";
        case 24: return "imIterateFrameSizes";
        case 25: return "imMediaPending";
        case 26: return "imDRMControlled";
        case 27: return "imActivationFailed";
        case 28: return "imFrameNotFound";
        case 29: return "imBadHeader";
        case 30: return "imUnsupportedCompression";
        case 31: return "imFileOpenFailed";
        case 32: return "imFileHasNoImportableStreams";
        case 33: return "imFileReadFailed";
        case 34: return "imUnsupportedAudioFormat";
        case 35: return "imUnsupportedVideoBitDepth";
        case 36: return "imDecompressionError";
        case 37: return "imInvalidPreferences";
        case 38: return "inFileNotAvailable";
        case 39: return "imRequiresProtectedContent";
        case 40: return "imNoCaptions";
        case 101: return "malSupports8";
        case 255: return "imDelegate";
        case 300: return "imCancel";
        case 301: return "imBadFormatIndex";
        case 400: return "imIsCacheable";
        default: return "????";
    }
}

const char* asyncSelectorName(int v) {
    switch (v) {
        case 0: return "aiInitiateAsyncRead";
        case 1: return "aiCancelAsyncRead";
        case 2: return "aiFlush";
        case 3: return "aiGetFrame";
        case 4: return "aiClose";
        case 5: return "aiContinueToWaitForAsyncIO";
        case 6: return "aiSelectEfficientRenderTime";
        default: return "????";
    }
}

const char* asyncResultName(int v) {
    switch (v) {
        case 0: return "aiNoError";
        case 1: return "aiUnsupported";
        case 2: return "aiUnknownError";
        case 3: return "aiFrameNotFound";
        default: return "????";
    }
}

const char* channelLabelName(int v) {
    switch (v) {
        case 0: return "kPrAudioChannelLabel_Discrete";
        case 100: return "kPrAudioChannelLabel_FrontLeft";
        case 101: return "kPrAudioChannelLabel_FrontRight";
        case 102: return "kPrAudioChannelLabel_FrontCenter";
        case 103: return "kPrAudioChannelLabel_LowFrequency";
        case 104: return "kPrAudioChannelLabel_BackLeft";
        case 105: return "kPrAudioChannelLabel_BackRight";
        case 106: return "kPrAudioChannelLabel_BackCenter";
        case 107: return "kPrAudioChannelLabel_FrontLeftOfCenter";
        case 108: return "kPrAudioChannelLabel_FrontRightOfCenter";
        case 109: return "kPrAudioChannelLabel_SideLeft";
        case 110: return "kPrAudioChannelLabel_SideRight";
        case 111: return "kPrAudioChannelLabel_TopCenter";
        case 112: return "kPrAudioChannelLabel_TopFrontLeft";
        case 113: return "kPrAudioChannelLabel_TopFrontRight";
        case 114: return "kPrAudioChannelLabel_TopFrontCenter";
        case 115: return "kPrAudioChannelLabel_TopBackLeft";
        case 116: return "kPrAudioChannelLabel_TopBackRight";
        case 117: return "kPrAudioChannelLabel_TopBackCenter";
        case 118: return "kPrAudioChannelLabel_FrontLeftWide";
        case 119: return "kPrAudioChannelLabel_FrontRightWide";
        case 127: return "kPrAudioChannelLabel_LeftHeight";
        case 128: return "kPrAudioChannelLabel_RightHeight";
        case 129: return "kPrAudioChannelLabel_RearSurroundLeft";
        case 130: return "kPrAudioChannelLabel_RearSurroundRight";
        case 131: return "kPrAudioChannelLabel_LFE2";
        case 132: return "kPrAudioChannelLabel_LeftTotal";
        case 133: return "kPrAudioChannelLabel_RightTotal";
        case 134: return "kPrAudioChannelLabel_Ambisonic_W";
        case 135: return "kPrAudioChannelLabel_Ambisonic_X";
        case 136: return "kPrAudioChannelLabel_Ambisonic_Y";
        case 137: return "kPrAudioChannelLabel_Ambisonic_Z";
        default: return "Unknown_Channel_Label";
    }
}

const char* pixelFormatName(uint32_t v) {
    switch (v) {
        case pf("bgra"): return "PrPixelFormat_BGRA_4444_8u";
        case pf("vuya"): return "PrPixelFormat_VUYA_4444_8u";
        case pf("VUYA"): return "PrPixelFormat_VUYA_4444_8u_709";
        case pf("argb"): return "PrPixelFormat_ARGB_4444_8u";
        case pf("bgrx"): return "PrPixelFormat_BGRX_4444_8u";
        case pf("vuyx"): return "PrPixelFormat_VUYX_4444_8u";
        case pf("vux7"): return "PrPixelFormat_VUYX_4444_8u_709";
        case pf("xrgb"): return "PrPixelFormat_XRGB_4444_8u";
        case pf("bgrp"): return "PrPixelFormat_BGRP_4444_8u";
        case pf("vuyp"): return "PrPixelFormat_VUYP_4444_8u";
        case pf("vup7"): return "PrPixelFormat_VUYP_4444_8u_709";
        case pf("prgb"): return "PrPixelFormat_PRGB_4444_8u";
        case pf("Bgra"): return "PrPixelFormat_BGRA_4444_16u";
        case pf("Vuya"): return "PrPixelFormat_VUYA_4444_16u";
        case pf("Argb"): return "PrPixelFormat_ARGB_4444_16u";
        case pf("Bgrx"): return "PrPixelFormat_BGRX_4444_16u";
        case pf("Xrgb"): return "PrPixelFormat_XRGB_4444_16u";
        case pf("Bgrp"): return "PrPixelFormat_BGRP_4444_16u";
        case pf("Prgb"): return "PrPixelFormat_PRGB_4444_16u";
        case pf("BGra"): return "PrPixelFormat_BGRA_4444_32f";
        case pf("VUya"): return "PrPixelFormat_VUYA_4444_32f";
        case pf("vUYa"): return "PrPixelFormat_VUYA_4444_32f_709";
        case pf("ARgb"): return "PrPixelFormat_ARGB_4444_32f";
        case pf("BGrx"): return "PrPixelFormat_BGRX_4444_32f";
        case pf("VUyx"): return "PrPixelFormat_VUYX_4444_32f";
        case pf("VUx7"): return "PrPixelFormat_VUYX_4444_32f_709";
        case pf("XRgb"): return "PrPixelFormat_XRGB_4444_32f";
        case pf("BGrp"): return "PrPixelFormat_BGRP_4444_32f";
        case pf("VUyp"): return "PrPixelFormat_VUYP_4444_32f";
        case pf("VUp7"): return "PrPixelFormat_VUYP_4444_32f_709";
        case pf("PRgb"): return "PrPixelFormat_PRGB_4444_32f";
        case pf("BGaL"): return "PrPixelFormat_BGRA_4444_32f_Linear";
        case pf("BGpL"): return "PrPixelFormat_BGRP_4444_32f_Linear";
        case pf("BGxL"): return "PrPixelFormat_BGRX_4444_32f_Linear";
        case pf("ARgL"): return "PrPixelFormat_ARGB_4444_32f_Linear";
        case pf("PRgL"): return "PrPixelFormat_PRGB_4444_32f_Linear";
        case pf("XRgL"): return "PrPixelFormat_XRGB_4444_32f_Linear";
        case pf("RGB1"): return "PrPixelFormat_RGB_444_10u";
        case pf("yuy2"): return "PrPixelFormat_YUYV_422_8u_601";
        case pf("yuy3"): return "PrPixelFormat_YUYV_422_8u_709";
        case pf("uyvy"): return "PrPixelFormat_UYVY_422_8u_601";
        case pf("uyv7"): return "PrPixelFormat_UYVY_422_8u_709";
        case pf("v210"): return "PrPixelFormat_V210_422_10u_601";
        case pf("v211"): return "PrPixelFormat_V210_422_10u_709";
        case pf("UYvy"): return "PrPixelFormat_UYVY_422_32f_601";
        case pf("UYv7"): return "PrPixelFormat_UYVY_422_32f_709";
        case pf("yv12"): return "PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_601";
        case pf("yvi2"): return "PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_601";
        case pf("yv1f"): return "PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_601_FullRange";
        case pf("yvif"): return "PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_601_FullRange";
        case pf("yv17"): return "PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_709";
        case pf("yvi7"): return "PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_709";
        case pf("yv1F"): return "PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_709_FullRange";
        case pf("yviF"): return "PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_709_FullRange";
        case pf("Yv12"): return "PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_601";
        case pf("Yvi2"): return "PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_601";
        case pf("Yv1f"): return "PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_601_FullRange";
        case pf("Yvif"): return "PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_601_FullRange";
        case pf("Yv17"): return "PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_709";
        case pf("Yvi7"): return "PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_709";
        case pf("Yv1F"): return "PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_709_FullRange";
        case pf("YviF"): return "PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_709_FullRange";
        case pf("dvn2"): return "PrPixelFormat_NTSCDV25";
        case pf("dvp2"): return "PrPixelFormat_PALDV25";
        case pf("dvn5"): return "PrPixelFormat_NTSCDV50";
        case pf("dvp5"): return "PrPixelFormat_PALDV50";
        case pf("dvn7"): return "PrPixelFormat_NTSCDV100_720p";
        case pf("dvp7"): return "PrPixelFormat_PALDV100_720p";
        case pf("dvn1"): return "PrPixelFormat_NTSCDV100_1080i";
        case pf("dvp1"): return "PrPixelFormat_PALDV100_1080i";
        case pf("raww"): return "PrPixelFormat_Raw";
        case pf("badf"): return "PrPixelFormat_Invalid";
        case 0: return "PrPixelFormat_Any";
        default: return "????";
    }
}

std::string fourccToText(uint32_t code, bool reversed) {
    std::string out;
    for (int i = 0; i < 4; ++i) {
        const int shift = reversed ? 24 - 8 * i : 8 * i;
        const unsigned byte = (code >> shift) & 0xFFu;
        if (byte >= 0x20 && byte <= 0x7E) {
            out += static_cast<char>(byte);
        } else {
            char text[8];
            std::snprintf(text, sizeof(text), "[%u]", byte);
            out += text;
        }
    }
    return out;
}
