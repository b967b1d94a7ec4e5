// Name tables of the host interface's numbers, for the diagnostic log.
#include "log/Names.h"

#include <cstdio>

#include "prsdk/PrPixelFormats.h"
#include "prsdk/PrValues.h"

using namespace prsdk;

// A case of a name table: the host interface's constant and its name, spelt once.
#define NAME(constant) \
    case constant: return #constant;

const char* selectorName(int v) {
    switch (v) {
        NAME(imInit)
        NAME(imShutdown)
        NAME(imImportImage)
        NAME(imQuietFile)
        NAME(imCloseFile)
        NAME(imAnalysis)
        NAME(imDataRateAnalysis)
        NAME(imGetIndFormat)
        NAME(imGetMetaData)
        NAME(imSetMetaData)
        NAME(imImportAudio7)
        NAME(imGetIndPixelFormat)
        NAME(imGetSupports7)
        NAME(imResetSequentialAudio)
        NAME(imGetSequentialAudio)
        NAME(imGetRollCrawlInfo)
        NAME(imRollCrawlRenderPage)
        NAME(imGetSupports8)
        NAME(imGetInfo8)
        NAME(imGetPrefs8)
        NAME(imOpenFile8)
        NAME(imSaveFile8)
        NAME(imDeleteFile8)
        NAME(imCalcSize8)
        NAME(imCheckTrim8)
        NAME(imTrimFile8)
        NAME(imGetPreferredFrameSize)
        NAME(imCreateAsyncImporter)
        NAME(imGetSourceVideo)
        NAME(imDeferredProcessing)
        NAME(imGetPeakAudio)
        NAME(imRetargetAccelerator)
        NAME(imCopyFile)
        NAME(imGetTimeInfo8)
        NAME(imSetTimeInfo8)
        NAME(imGetSubTypeNames)
        NAME(imGetFileAttributes)
        NAME(imQueryDestinationPath)
        NAME(imQueryContentState)
        NAME(imGetIndColorProfile)
        NAME(imQueryInputFileList)
        NAME(imQueryStreamLabel)
        NAME(imInitiateAsyncClosedCaptionScan)
        NAME(imGetNextClosedCaption)
        NAME(imCompleteAsyncClosedCaptionScan)
        NAME(imGetAudioChannelLayout)
        NAME(imSelectClipFrameDescriptor)
        NAME(imPerformSourceSettingsCommand)
        default: return "????";
    }
}

const char* resultName(int v) {
    switch (v) {
        NAME(imNoErr)
        NAME(imTooWide)
        NAME(imBadFile)
        NAME(imUnsupported)
        NAME(imMemErr)
        NAME(imOtherErr)
        NAME(imNoContent)
        NAME(imBadRate)
        NAME(imBadCompression)
        NAME(imBadCodec)
        NAME(imNotFlat)
        NAME(imBadSndComp)
        NAME(imNoTimecode)
        NAME(imMissingComponent)
        NAME(imSaveErr)
        NAME(imDeleteErr)
        NAME(imNotFoundErr)
        NAME(imSetFile)
        NAME(imIterateStreams)
        NAME(imBadStreamIndex)
        NAME(imCantTrim)
        NAME(imDiskFull)
        NAME(imDiskErr)
        NAME(imFileShareViolation)
        NAME(imIterateFrameSizes)
        NAME(imMediaPending)
        NAME(imDRMControlled)
        NAME(imActivationFailed)
        NAME(imFrameNotFound)
        NAME(imBadHeader)
        NAME(imUnsupportedCompression)
        NAME(imFileOpenFailed)
        NAME(imFileHasNoImportableStreams)
        NAME(imFileReadFailed)
        NAME(imUnsupportedAudioFormat)
        NAME(imUnsupportedVideoBitDepth)
        NAME(imDecompressionError)
        NAME(imInvalidPreferences)
        NAME(inFileNotAvailable)
        NAME(imRequiresProtectedContent)
        NAME(imNoCaptions)
        NAME(malSupports8)
        NAME(imDelegate)
        NAME(imCancel)
        NAME(imBadFormatIndex)
        NAME(imIsCacheable)
        default: return "????";
    }
}

const char* asyncSelectorName(int v) {
    switch (v) {
        NAME(aiInitiateAsyncRead)
        NAME(aiCancelAsyncRead)
        NAME(aiFlush)
        NAME(aiGetFrame)
        NAME(aiClose)
        NAME(aiContinueToWaitForAsyncIO)
        NAME(aiSelectEfficientRenderTime)
        default: return "????";
    }
}

const char* asyncResultName(int v) {
    switch (v) {
        NAME(aiNoError)
        NAME(aiUnsupported)
        NAME(aiUnknownError)
        NAME(aiFrameNotFound)
        default: return "????";
    }
}

const char* channelLabelName(int v) {
    switch (v) {
        NAME(kPrAudioChannelLabel_Discrete)
        NAME(kPrAudioChannelLabel_FrontLeft)
        NAME(kPrAudioChannelLabel_FrontRight)
        NAME(kPrAudioChannelLabel_FrontCenter)
        NAME(kPrAudioChannelLabel_LowFrequency)
        NAME(kPrAudioChannelLabel_BackLeft)
        NAME(kPrAudioChannelLabel_BackRight)
        NAME(kPrAudioChannelLabel_BackCenter)
        NAME(kPrAudioChannelLabel_FrontLeftOfCenter)
        NAME(kPrAudioChannelLabel_FrontRightOfCenter)
        NAME(kPrAudioChannelLabel_SideLeft)
        NAME(kPrAudioChannelLabel_SideRight)
        NAME(kPrAudioChannelLabel_TopCenter)
        NAME(kPrAudioChannelLabel_TopFrontLeft)
        NAME(kPrAudioChannelLabel_TopFrontRight)
        NAME(kPrAudioChannelLabel_TopFrontCenter)
        NAME(kPrAudioChannelLabel_TopBackLeft)
        NAME(kPrAudioChannelLabel_TopBackRight)
        NAME(kPrAudioChannelLabel_TopBackCenter)
        NAME(kPrAudioChannelLabel_FrontLeftWide)
        NAME(kPrAudioChannelLabel_FrontRightWide)
        NAME(kPrAudioChannelLabel_LeftHeight)
        NAME(kPrAudioChannelLabel_RightHeight)
        NAME(kPrAudioChannelLabel_RearSurroundLeft)
        NAME(kPrAudioChannelLabel_RearSurroundRight)
        NAME(kPrAudioChannelLabel_LFE2)
        NAME(kPrAudioChannelLabel_LeftTotal)
        NAME(kPrAudioChannelLabel_RightTotal)
        NAME(kPrAudioChannelLabel_Ambisonic_W)
        NAME(kPrAudioChannelLabel_Ambisonic_X)
        NAME(kPrAudioChannelLabel_Ambisonic_Y)
        NAME(kPrAudioChannelLabel_Ambisonic_Z)
        default: return "Unknown_Channel_Label";
    }
}

const char* pixelFormatName(uint32_t v) {
    switch (v) {
        NAME(PrPixelFormat_BGRA_4444_8u)
        NAME(PrPixelFormat_VUYA_4444_8u)
        NAME(PrPixelFormat_VUYA_4444_8u_709)
        NAME(PrPixelFormat_ARGB_4444_8u)
        NAME(PrPixelFormat_BGRX_4444_8u)
        NAME(PrPixelFormat_VUYX_4444_8u)
        NAME(PrPixelFormat_VUYX_4444_8u_709)
        NAME(PrPixelFormat_XRGB_4444_8u)
        NAME(PrPixelFormat_BGRP_4444_8u)
        NAME(PrPixelFormat_VUYP_4444_8u)
        NAME(PrPixelFormat_VUYP_4444_8u_709)
        NAME(PrPixelFormat_PRGB_4444_8u)
        NAME(PrPixelFormat_BGRA_4444_16u)
        NAME(PrPixelFormat_VUYA_4444_16u)
        NAME(PrPixelFormat_ARGB_4444_16u)
        NAME(PrPixelFormat_BGRX_4444_16u)
        NAME(PrPixelFormat_XRGB_4444_16u)
        NAME(PrPixelFormat_BGRP_4444_16u)
        NAME(PrPixelFormat_PRGB_4444_16u)
        NAME(PrPixelFormat_BGRA_4444_32f)
        NAME(PrPixelFormat_VUYA_4444_32f)
        NAME(PrPixelFormat_VUYA_4444_32f_709)
        NAME(PrPixelFormat_ARGB_4444_32f)
        NAME(PrPixelFormat_BGRX_4444_32f)
        NAME(PrPixelFormat_VUYX_4444_32f)
        NAME(PrPixelFormat_VUYX_4444_32f_709)
        NAME(PrPixelFormat_XRGB_4444_32f)
        NAME(PrPixelFormat_BGRP_4444_32f)
        NAME(PrPixelFormat_VUYP_4444_32f)
        NAME(PrPixelFormat_VUYP_4444_32f_709)
        NAME(PrPixelFormat_PRGB_4444_32f)
        NAME(PrPixelFormat_BGRA_4444_32f_Linear)
        NAME(PrPixelFormat_BGRP_4444_32f_Linear)
        NAME(PrPixelFormat_BGRX_4444_32f_Linear)
        NAME(PrPixelFormat_ARGB_4444_32f_Linear)
        NAME(PrPixelFormat_PRGB_4444_32f_Linear)
        NAME(PrPixelFormat_XRGB_4444_32f_Linear)
        NAME(PrPixelFormat_RGB_444_10u)
        NAME(PrPixelFormat_YUYV_422_8u_601)
        NAME(PrPixelFormat_YUYV_422_8u_709)
        NAME(PrPixelFormat_UYVY_422_8u_601)
        NAME(PrPixelFormat_UYVY_422_8u_709)
        NAME(PrPixelFormat_V210_422_10u_601)
        NAME(PrPixelFormat_V210_422_10u_709)
        NAME(PrPixelFormat_UYVY_422_32f_601)
        NAME(PrPixelFormat_UYVY_422_32f_709)
        NAME(PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_601)
        NAME(PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_601)
        NAME(PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_601_FullRange)
        NAME(PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_601_FullRange)
        NAME(PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_709)
        NAME(PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_709)
        NAME(PrPixelFormat_YUV_420_MPEG2_FRAME_PICTURE_PLANAR_8u_709_FullRange)
        NAME(PrPixelFormat_YUV_420_MPEG2_FIELD_PICTURE_PLANAR_8u_709_FullRange)
        NAME(PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_601)
        NAME(PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_601)
        NAME(PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_601_FullRange)
        NAME(PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_601_FullRange)
        NAME(PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_709)
        NAME(PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_709)
        NAME(PrPixelFormat_YUV_420_MPEG4_FRAME_PICTURE_PLANAR_8u_709_FullRange)
        NAME(PrPixelFormat_YUV_420_MPEG4_FIELD_PICTURE_PLANAR_8u_709_FullRange)
        NAME(PrPixelFormat_NTSCDV25)
        NAME(PrPixelFormat_PALDV25)
        NAME(PrPixelFormat_NTSCDV50)
        NAME(PrPixelFormat_PALDV50)
        NAME(PrPixelFormat_NTSCDV100_720p)
        NAME(PrPixelFormat_PALDV100_720p)
        NAME(PrPixelFormat_NTSCDV100_1080i)
        NAME(PrPixelFormat_PALDV100_1080i)
        NAME(PrPixelFormat_Raw)
        NAME(PrPixelFormat_Invalid)
        NAME(PrPixelFormat_Any)
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
