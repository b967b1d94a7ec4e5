// The host's function tables and suites as the importer sees them: the memory
// and utility tables reached through imStdParms, the basic suite, and the seven
// suites acquired by name. Functions are in table order; every result is an
// int32 with 0 = success.
#pragma once

#include <cstddef>

#include "prsdk/PrImporterRecords.h"
#include "prsdk/PrTypes.h"

namespace prsdk {

#pragma pack(push, 1)

using PrMemoryPtr = char*;
using PrMemoryHandle = char**;

struct PrMemoryFuncs {
    PrMemoryPtr (*newPtr)(uint32 size);
    void (*setPtrSize)(PrMemoryPtr* ptr, uint32 newSize);
    int32 (*getPtrSize)(PrMemoryPtr p);
    void (*disposePtr)(PrMemoryPtr ptr);
    PrMemoryHandle (*newHandle)(uint32 size);
    int16 (*setHandleSize)(PrMemoryHandle h, uint32 newSize);
    int32 (*getHandleSize)(PrMemoryHandle h);
    void (*disposeHandle)(PrMemoryHandle h);
    PrMemoryPtr (*newPtrClear)(uint32 size);
    PrMemoryHandle (*newHandleClear)(uint32 size);
    void (*lockHandle)(PrMemoryHandle h);
    void (*unlockHandle)(PrMemoryHandle h);
};

struct SPBasicSuite {
    int32 (*AcquireSuite)(const char* name, int32 version, const void** suite);
    int32 (*ReleaseSuite)(const char* name, int32 version);
    int32 (*IsEqual)(const char* token1, const char* token2);
    int32 (*AllocateBlock)(size_t size, void** block);
    int32 (*FreeBlock)(void* block);
    int32 (*ReallocateBlock)(void* block, size_t newSize, void** newblock);
    int32 (*Undefined)();
};

struct PrUtilityFuncs {
    void* unused1;
    void* getSerialNumber;
    void* getFileTimebase;
    void* getFileVideo;
    void* getFileAudioSecond;
    void* unused2;
    void* getFileVideoBounds;
    SPBasicSuite* (*getSPBasicSuite)();
    void* getFileExtString;
};

struct piSuites {
    int32 piInterfaceVer;
    PrMemoryFuncs* memFuncs;
    void* windFuncs;
    void* ppixFuncs;
    PrUtilityFuncs* utilFuncs;
    void* timelineFuncs;
};

#pragma pack(pop)

static_assert(sizeof(PrMemoryFuncs) == 96);
static_assert(sizeof(SPBasicSuite) == 56);
static_assert(offsetof(SPBasicSuite, ReleaseSuite) == 8);
static_assert(sizeof(PrUtilityFuncs) == 72);
static_assert(offsetof(PrUtilityFuncs, getSPBasicSuite) == 56);
static_assert(sizeof(piSuites) == 44);
static_assert(offsetof(piSuites, memFuncs) == 4);
static_assert(offsetof(piSuites, windFuncs) == 12);
static_assert(offsetof(piSuites, ppixFuncs) == 20);
static_assert(offsetof(piSuites, utilFuncs) == 28);
static_assert(offsetof(piSuites, timelineFuncs) == 36);

// Suites acquired by name through SPBasicSuite::AcquireSuite.

constexpr const char* kPrSDKPPixCreatorSuite = "Premiere PPix Creator Suite";
constexpr int32 kPrSDKPPixCreatorSuiteVersion = 1;
struct PrSDKPPixCreatorSuite {
    int32 (*CreatePPix)(PPixHand* outPPixHand, int32 inRequestedAccess, PrPixelFormat inPixelFormat,
                        const prRect* inBoundingRect);
    int32 (*ClonePPix)(PPixHand inPPixToClone, PPixHand* outPPixHand);
};

constexpr const char* kPrSDKPPixCacheSuite = "Premiere PPix Cache Suite";
constexpr int32 kPrSDKPPixCacheSuiteVersion = 6;

constexpr const char* kPrSDKPPixSuite = "Premiere PPix Suite";
constexpr int32 kPrSDKPPixSuiteVersion = 1;
struct PrSDKPPixSuite {
    int32 (*Dispose)(PPixHand inPPixHand);
    int32 (*GetPixels)(PPixHand inPPixHand, int32 inRequestedAccess, char** outPixelAddress);
    int32 (*GetBounds)(PPixHand inPPixHand, prRect* inoutBoundingRect);
    int32 (*GetRowBytes)(PPixHand inPPixHand, int32* outRowBytes);
    int32 (*GetPixelAspectRatio)(PPixHand inPPixHand, uint32* outNumerator, uint32* outDenominator);
    int32 (*GetPixelFormat)(PPixHand inPPixHand, PrPixelFormat* outPixelFormat);
    int32 (*GetUniqueKey)(PPixHand inPPixHand, unsigned char* inoutKeyBuffer, size_t inKeyBufferSize);
    int32 (*GetUniqueKeySize)(size_t* outKeyBufferSize);
    int32 (*GetRenderTime)(PPixHand inPPixHand, int32* outRenderMilliseconds);
};

constexpr const char* kPrSDKTimeSuite = "Premiere Time Suite";
constexpr int32 kPrSDKTimeSuiteVersion = 1;
struct PrSDKTimeSuite {
    int32 (*GetTicksPerSecond)(PrTime* outTicksPerSec);
    int32 (*GetTicksPerVideoFrame)(int32 inVideoFrameRate, PrTime* outTicksPerFrame);
    int32 (*GetTicksPerAudioSample)(float inSampleRate, PrTime* outTicksPerSample);
};

constexpr const char* kPrSDKImageProcessingSuite = "Premiere Image Processing Suite";
constexpr int32 kPrSDKImageProcessingSuiteVersion = 2;
struct PrSDKImageProcessingSuite {
    int32 (*FormatIsCompressed)(PrPixelFormat inPixelFormat, prBool* outIsCompressed);
    int32 (*FormatHasAlpha)(PrPixelFormat inPixelFormat, prBool* outHasAlpha);
    int32 (*FormatIsOriginTopLeft)(PrPixelFormat inPixelFormat, prBool* outIsTopLeft);
    int32 (*GetSizeForPixelBuffer)(PrPixelFormat inPixelFormat, int32 inWidth, int32 inHeight, int32* outSize);
    void* ScaleConvert;
    void* CompressDV100720p;
    void* StampDVFrameAspect;
};

constexpr const char* kPrSDKAudioSuite = "Premiere Audio Suite";
constexpr int32 kPrSDKAudioSuiteVersion = 1;
using AudioUninterleaveFunc = int32 (*)(const void* inSource, float** outDest, uint32 inChannels,
                                        uint32 inSampleFrames);
struct PrSDKAudioSuite {
    void* ConvertAndInterleaveTo8BitInteger;
    void* ConvertAndInterleaveTo16BitInteger;
    void* ConvertAndInterleaveTo24BitInteger;
    void* ConvertAndInterleaveTo32BitInteger;
    AudioUninterleaveFunc UninterleaveAndConvertFrom8BitInteger;
    AudioUninterleaveFunc UninterleaveAndConvertFrom16BitInteger;
    AudioUninterleaveFunc UninterleaveAndConvertFrom24BitInteger;
    AudioUninterleaveFunc UninterleaveAndConvertFrom32BitInteger;
};

constexpr const char* kPrSDKErrorSuite = "Premiere Error Suite";
constexpr int32 kPrSDKErrorSuiteVersion = 3;
struct PrSDKErrorSuite3 {
    int32 (*SetEventStringUnicode)(uint32 inEventType, const prUTF16Char* inEventTitle,
                                   const prUTF16Char* inEventDescription);
};

static_assert(offsetof(PrSDKPPixSuite, GetRowBytes) == 24);
static_assert(offsetof(PrSDKImageProcessingSuite, FormatIsOriginTopLeft) == 16);
static_assert(offsetof(PrSDKAudioSuite, UninterleaveAndConvertFrom8BitInteger) == 32);
static_assert(offsetof(PrSDKAudioSuite, UninterleaveAndConvertFrom32BitInteger) == 56);

}  // namespace prsdk
