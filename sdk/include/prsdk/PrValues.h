// Numbers of the host's importer interface: selectors, results, and the values
// of the records' enumerated fields.
#pragma once

#include "prsdk/PrTypes.h"

namespace prsdk {

// Importer selectors (the host's numbering; the importer names 0..66).
enum ImporterSelector : int32 {
    imInit = 0,
    imShutdown = 1,
    imImportImage = 5,
    imQuietFile = 8,
    imCloseFile = 9,
    imAnalysis = 12,
    imDataRateAnalysis = 13,
    imGetIndFormat = 14,
    imGetMetaData = 23,
    imSetMetaData = 24,
    imImportAudio7 = 25,
    imGetIndPixelFormat = 27,
    imGetSupports7 = 28,
    imResetSequentialAudio = 29,
    imGetSequentialAudio = 30,
    imGetRollCrawlInfo = 32,
    imRollCrawlRenderPage = 33,
    imGetSupports8 = 36,
    imGetInfo8 = 37,
    imGetPrefs8 = 38,
    imOpenFile8 = 39,
    imSaveFile8 = 40,
    imDeleteFile8 = 41,
    imCalcSize8 = 42,
    imCheckTrim8 = 43,
    imTrimFile8 = 44,
    imGetPreferredFrameSize = 45,
    imCreateAsyncImporter = 46,
    imGetSourceVideo = 47,
    imDeferredProcessing = 48,
    imGetPeakAudio = 49,
    imRetargetAccelerator = 50,
    imCopyFile = 51,
    imGetTimeInfo8 = 52,
    imSetTimeInfo8 = 53,
    imGetSubTypeNames = 54,
    imGetFileAttributes = 55,
    imQueryDestinationPath = 56,
    imQueryContentState = 57,
    imGetIndColorProfile = 58,
    imQueryInputFileList = 59,
    imQueryStreamLabel = 60,
    imInitiateAsyncClosedCaptionScan = 61,
    imGetNextClosedCaption = 62,
    imCompleteAsyncClosedCaptionScan = 63,
    imGetAudioChannelLayout = 64,
    imSelectClipFrameDescriptor = 65,
    imPerformSourceSettingsCommand = 66,
    imGetExtendedFormatInfo = 67,
    imGetEmbeddedLUT = 82,
};

// Importer results (prMALError).
enum ImporterResult : int32 {
    imNoErr = 0,
    imTooWide = 1,
    imBadFile = 2,
    imUnsupported = 3,
    imMemErr = 4,
    imOtherErr = 5,
    imNoContent = 6,
    imBadRate = 7,
    imBadCompression = 8,
    imBadCodec = 9,
    imNotFlat = 10,
    imBadSndComp = 11,
    imNoTimecode = 12,
    imMissingComponent = 13,
    imSaveErr = 14,
    imDeleteErr = 15,
    imNotFoundErr = 16,
    imSetFile = 17,
    imIterateStreams = 18,
    imBadStreamIndex = 19,
    imCantTrim = 20,
    imDiskFull = 21,
    imDiskErr = 22,
    imFileShareViolation = 23,
    imIterateFrameSizes = 24,
    imMediaPending = 25,
    imDRMControlled = 26,
    imActivationFailed = 27,
    imFrameNotFound = 28,
    imBadHeader = 29,
    imUnsupportedCompression = 30,
    imFileOpenFailed = 31,
    imFileHasNoImportableStreams = 32,
    imFileReadFailed = 33,
    imUnsupportedAudioFormat = 34,
    imUnsupportedVideoBitDepth = 35,
    imDecompressionError = 36,
    imInvalidPreferences = 37,
    inFileNotAvailable = 38,
    imRequiresProtectedContent = 39,
    imNoCaptions = 40,
    imMultipleDescription = 41,
    imComplexEditList = 42,
    imUnknownError = 99,  // the host's "unknown error"; the answer to an exception
    malSupports8 = 101,
    imDelegate = 255,
    imCancel = 300,
    imBadFormatIndex = 301,
    imIsCacheable = 400,
};

// Asynchronous importer selectors and results.
enum AsyncSelector : int32 {
    aiInitiateAsyncRead = 0,
    aiCancelAsyncRead = 1,
    aiFlush = 2,
    aiGetFrame = 3,
    aiClose = 4,
    aiContinueToWaitForAsyncIO = 5,
    aiSelectEfficientRenderTime = 6,
};

enum AsyncResult : int32 {
    aiNoError = 0,
    aiUnsupported = 1,
    aiUnknownError = 2,
    aiFrameNotFound = 3,
};

// Audio sample types.
enum AudioSampleType : int32 {
    kPrAudioSampleType_8BitInt = 1,
    kPrAudioSampleType_8BitTwosInt = 2,
    kPrAudioSampleType_16BitInt = 3,
    kPrAudioSampleType_24BitInt = 4,
    kPrAudioSampleType_32BitInt = 5,
    kPrAudioSampleType_32BitFloat = 6,
    kPrAudioSampleType_64BitFloat = 7,
    kPrAudioSampleType_Other = 14,
};

// Audio channel labels (the ones the importer produces or names; the host has more).
enum AudioChannelLabel : int32 {
    kPrAudioChannelLabel_Discrete = 0,
    kPrAudioChannelLabel_FrontLeft = 100,
    kPrAudioChannelLabel_FrontRight = 101,
    kPrAudioChannelLabel_FrontCenter = 102,
    kPrAudioChannelLabel_LowFrequency = 103,
    kPrAudioChannelLabel_BackLeft = 104,
    kPrAudioChannelLabel_BackRight = 105,
    kPrAudioChannelLabel_BackCenter = 106,
    kPrAudioChannelLabel_FrontLeftOfCenter = 107,
    kPrAudioChannelLabel_FrontRightOfCenter = 108,
    kPrAudioChannelLabel_SideLeft = 109,
    kPrAudioChannelLabel_SideRight = 110,
    kPrAudioChannelLabel_TopCenter = 111,
    kPrAudioChannelLabel_TopFrontLeft = 112,
    kPrAudioChannelLabel_TopFrontRight = 113,
    kPrAudioChannelLabel_TopFrontCenter = 114,
    kPrAudioChannelLabel_TopBackLeft = 115,
    kPrAudioChannelLabel_TopBackRight = 116,
    kPrAudioChannelLabel_TopBackCenter = 117,
    kPrAudioChannelLabel_FrontLeftWide = 118,
    kPrAudioChannelLabel_FrontRightWide = 119,
    kPrAudioChannelLabel_LeftHeight = 127,
    kPrAudioChannelLabel_RightHeight = 128,
    kPrAudioChannelLabel_RearSurroundLeft = 129,
    kPrAudioChannelLabel_RearSurroundRight = 130,
    kPrAudioChannelLabel_LFE2 = 131,
    kPrAudioChannelLabel_LeftTotal = 132,
    kPrAudioChannelLabel_RightTotal = 133,
    kPrAudioChannelLabel_Ambisonic_W = 134,
    kPrAudioChannelLabel_Ambisonic_X = 135,
    kPrAudioChannelLabel_Ambisonic_Y = 136,
    kPrAudioChannelLabel_Ambisonic_Z = 137,
};

enum FieldType : int8 { prFieldsNone = 0, prFieldsUpperFirst = 1, prFieldsLowerFirst = 2, prFieldsUnknown = 3 };

enum AlphaType : int8 {
    alphaUnknown = 0,
    alphaStraight = 1,
    alphaBlackMatte = 2,
    alphaWhiteMatte = 3,
    alphaArbitrary = 4,
    alphaNone = 5,
    alphaOpaque = 6,
    alphaIgnore = 7,
};

enum AccessMode : int32 {
    kRandomAccessImport = 0,
    kSequentialAudioOnly = 1,
    kSequentialVideoOnly = 2,
    kSequentialOnly = 3,
    kSeparateSequentialAudio = 4,
};

enum FileOpenAccess : int32 { kReadOnly = 0, kReadWrite = 1 };

enum PPixBufferAccess : int32 {
    PrPPixBufferAccess_ReadOnly = 0,
    PrPPixBufferAccess_WriteOnly = 1,
    PrPPixBufferAccess_ReadWrite = 2
};

enum RenderIntent : int32 {
    kRenderIntentUnknown = -1,
    kRenderIntentExport = 0,
    kRenderIntentStopped = 1,
    kRenderIntentScrubbing = 2,
    kRenderIntentPreroll = 3,
    kRenderIntentPlaying = 4,
    kRenderIntentSpeculativePrefetch = 5,
    kRenderIntentThumbnail = 6,
    kRenderIntentAnalysis = 7,
};

// Error Suite event types.
enum EventType : uint32 { kEventTypeInformational = 1, kEventTypeWarning = 2, kEventTypeError = 3 };

// Suite results (int32; 0 = success).
constexpr int32 suiteError_NoError = 0;
constexpr int32 suiteError_Fail = int32(0x80000000u);
constexpr int32 suiteError_InvalidParms = int32(0x80000001u);
constexpr int32 suiteError_OutOfMemory = int32(0x80000002u);
constexpr int32 suiteError_InvalidCall = int32(0x80000003u);
constexpr int32 suiteError_NotImplemented = int32(0x80000004u);
constexpr int32 suiteError_IDNotValid = int32(0x80000005u);

// The real host counts 254016000000 ticks per second.
constexpr PrTime kHostTicksPerSecond = 254016000000LL;

}  // namespace prsdk
