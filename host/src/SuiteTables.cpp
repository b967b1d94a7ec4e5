// The C function tables of the suites the host serves, by name and version.
// Every function finds the live Host through Host::current() and checks its
// pointer arguments, so a module that passes null gets InvalidParms.
#include <cstring>
#include <string_view>

#include "norvikhost/AudioConvert.h"
#include "norvikhost/Host.h"
#include "norvikhost/PixelLayout.h"
#include "norvikhost/Text.h"

namespace norvikhost {

using namespace prsdk;

namespace {

// Error Suite texts longer than this are cut (guards against unterminated strings).
constexpr std::size_t kMaxEventUnits = 1 << 16;

int32 notImplemented() { return suiteError_NotImplemented; }

// PPix Creator Suite.
int32 createPPix(PPixHand* out, int32 /*access*/, PrPixelFormat format, const prRect* bounds) {
    Host* host = Host::current();
    if (!host) return suiteError_InvalidCall;
    host->passCreationGate();
    if (host->createPPixFails()) {
        if (out) *out = nullptr;
        return suiteError_OutOfMemory;
    }
    return host->frames().create(format, bounds, host->originTopLeft(format), out);
}

int32 clonePPix(PPixHand source, PPixHand* out) {
    Host* host = Host::current();
    return host ? host->frames().clone(source, out) : suiteError_InvalidCall;
}

// PPix Suite.
const Frame* frameOf(PPixHand handle) {
    Host* host = Host::current();
    return host ? host->frames().find(handle) : nullptr;
}

int32 disposePPix(PPixHand handle) {
    Host* host = Host::current();
    return host ? host->frames().dispose(handle, true) : suiteError_InvalidCall;
}

int32 getPixels(PPixHand handle, int32 /*access*/, char** out) {
    const Frame* frame = frameOf(handle);
    if (!frame || !out) return suiteError_InvalidParms;
    *out = reinterpret_cast<char*>(frame->pixels);
    return suiteError_NoError;
}

int32 getBounds(PPixHand handle, prRect* out) {
    const Frame* frame = frameOf(handle);
    if (!frame || !out) return suiteError_InvalidParms;
    *out = frame->bounds;
    return suiteError_NoError;
}

int32 getRowBytes(PPixHand handle, int32* out) {
    const Frame* frame = frameOf(handle);
    if (!frame || !out) return suiteError_InvalidParms;
    *out = frame->rowBytes;
    return suiteError_NoError;
}

int32 getPixelAspectRatio(PPixHand handle, uint32* num, uint32* den) {
    if (!frameOf(handle) || !num || !den) return suiteError_InvalidParms;
    *num = 1;
    *den = 1;
    return suiteError_NoError;
}

int32 getPixelFormat(PPixHand handle, PrPixelFormat* out) {
    const Frame* frame = frameOf(handle);
    if (!frame || !out) return suiteError_InvalidParms;
    *out = frame->format;
    return suiteError_NoError;
}

int32 getUniqueKey(PPixHand, unsigned char*, size_t) { return suiteError_NotImplemented; }
int32 getUniqueKeySize(size_t*) { return suiteError_NotImplemented; }

int32 getRenderTime(PPixHand handle, int32* out) {
    if (!frameOf(handle) || !out) return suiteError_InvalidParms;
    *out = 0;
    return suiteError_NoError;
}

// Time Suite.
int32 getTicksPerSecond(PrTime* out) {
    Host* host = Host::current();
    if (!host) return suiteError_InvalidCall;
    if (!out) return suiteError_InvalidParms;
    *out = host->ticksPerSecond();
    return suiteError_NoError;
}

int32 getTicksPerVideoFrame(int32, PrTime*) { return suiteError_NotImplemented; }

int32 getTicksPerAudioSample(float rate, PrTime* out) {
    Host* host = Host::current();
    if (!host) return suiteError_InvalidCall;
    if (!out || !(rate > 0)) return suiteError_InvalidParms;
    *out = PrTime(double(host->ticksPerSecond()) / double(rate));
    return suiteError_NoError;
}

// Image Processing Suite.
int32 answerFormat(PrPixelFormat format, prBool* out, bool answer) {
    if (!out) return suiteError_InvalidParms;
    if (!isKnownPixelFormat(format)) return suiteError_InvalidParms;
    *out = answer ? 1 : 0;
    return suiteError_NoError;
}

int32 formatIsCompressed(PrPixelFormat format, prBool* out) {
    return answerFormat(format, out, pixelFormatIsCompressed(format));
}

int32 formatHasAlpha(PrPixelFormat format, prBool* out) {
    return answerFormat(format, out, pixelFormatHasAlpha(format));
}

int32 formatIsOriginTopLeft(PrPixelFormat format, prBool* out) {
    Host* host = Host::current();
    if (!host) return suiteError_InvalidCall;
    return answerFormat(format, out, host->originTopLeft(format));
}

int32 getSizeForPixelBuffer(PrPixelFormat format, int32 width, int32 height, int32* out) {
    if (!out) return suiteError_InvalidParms;
    const std::int64_t size = frameBufferSize(format, width, height);
    if (size == 0 || size > INT32_MAX) return suiteError_InvalidParms;
    *out = int32(size);
    return suiteError_NoError;
}

// Audio Suite.
int32 interleaveNotImplemented(float**, void*, uint32, uint32) { return suiteError_NotImplemented; }

template <int Bits>
int32 uninterleave(const void* source, float** channels, uint32 channelCount, uint32 frames) {
    if (frames == 0 || channelCount == 0) return suiteError_NoError;
    if (!source || !channels) return suiteError_InvalidParms;
    for (uint32 c = 0; c < channelCount; ++c)
        if (!channels[c]) return suiteError_InvalidParms;
    return uninterleaveToFloat(Bits, source, channels, channelCount, frames) ? suiteError_NoError
                                                                             : suiteError_InvalidParms;
}

// Error Suite.
int32 setEventStringUnicode(uint32 type, const prUTF16Char* title, const prUTF16Char* description) {
    Host* host = Host::current();
    if (!host) return suiteError_InvalidCall;
    host->recordErrorEvent({type, utf16ToUtf8(title, kMaxEventUnits), utf16ToUtf8(description, kMaxEventUnits)});
    return suiteError_NoError;
}

template <typename F>
void* untyped(F* function) {
    return reinterpret_cast<void*>(function);
}

const PrSDKPPixCreatorSuite g_ppixCreator = {createPPix, clonePPix};
const PrSDKPPixSuite g_ppix = {disposePPix,    getPixels,    getBounds,        getRowBytes,  getPixelAspectRatio,
                               getPixelFormat, getUniqueKey, getUniqueKeySize, getRenderTime};
const PrSDKTimeSuite g_time = {getTicksPerSecond, getTicksPerVideoFrame, getTicksPerAudioSample};
const PrSDKImageProcessingSuite g_imageProcessing = {
    formatIsCompressed,      formatHasAlpha,          formatIsOriginTopLeft,  getSizeForPixelBuffer,
    untyped(notImplemented), untyped(notImplemented), untyped(notImplemented)};
const PrSDKAudioSuite g_audio = {untyped(interleaveNotImplemented),
                                 untyped(interleaveNotImplemented),
                                 untyped(interleaveNotImplemented),
                                 untyped(interleaveNotImplemented),
                                 uninterleave<8>,
                                 uninterleave<16>,
                                 uninterleave<24>,
                                 uninterleave<32>};
const PrSDKErrorSuite3 g_error = {setEventStringUnicode};

// The PPix Cache Suite is acquired but never called by the importer: every
// entry answers "not implemented".
using NotImplementedFunc = int32 (*)();
const NotImplementedFunc g_ppixCache[16] = {notImplemented, notImplemented, notImplemented, notImplemented,
                                            notImplemented, notImplemented, notImplemented, notImplemented,
                                            notImplemented, notImplemented, notImplemented, notImplemented,
                                            notImplemented, notImplemented, notImplemented, notImplemented};

struct SuiteEntry {
    std::string_view name;
    int32 version;
    const void* table;
};

const SuiteEntry g_suites[] = {
    {kPrSDKPPixCreatorSuite, kPrSDKPPixCreatorSuiteVersion, &g_ppixCreator},
    {kPrSDKPPixCacheSuite, kPrSDKPPixCacheSuiteVersion, g_ppixCache},
    {kPrSDKPPixSuite, kPrSDKPPixSuiteVersion, &g_ppix},
    {kPrSDKTimeSuite, kPrSDKTimeSuiteVersion, &g_time},
    {kPrSDKImageProcessingSuite, kPrSDKImageProcessingSuiteVersion, &g_imageProcessing},
    {kPrSDKAudioSuite, kPrSDKAudioSuiteVersion, &g_audio},
    {kPrSDKErrorSuite, kPrSDKErrorSuiteVersion, &g_error},
};

}  // namespace

const void* findSuiteTable(std::string_view name, std::int32_t version) {
    for (const SuiteEntry& entry : g_suites)
        if (entry.name == name && entry.version == version) return entry.table;
    return nullptr;
}

}  // namespace norvikhost
