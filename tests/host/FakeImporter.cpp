// Small importer modules that stand in for a real one when testing the host.
// Built twice. FAKE_GOOD answers as a well-behaved importer does (and uses the
// basic suite, the Error Suite and newPtr on the way); per clip it answers like an
// importer of one video stream, except for one selector chosen by the clip's file
// name: "fail-<selector>-<code>.avi" makes that selector answer <code>;
// "throw-<selector>.avi" makes it throw. A session is allocated at imOpenFile8 and
// freed at imCloseFile (whatever it answers), so a host that forgets to close
// shows up as a leak. FAKE_BAD gives every module-wide answer a host must not
// trust.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/Export.h"
#include "prsdk/PrSDK.h"

using namespace prsdk;

namespace {

#if defined(FAKE_GOOD)

const PrSDKErrorSuite3* g_errorSuite = nullptr;

SPBasicSuite* basicSuite(imStdParms* stdParms) { return stdParms->piSuites->utilFuncs->getSPBasicSuite(); }

int32 onInit(imStdParms* stdParms, imImportInfoRec* info) {
    const void* suite = nullptr;
    basicSuite(stdParms)->AcquireSuite(kPrSDKErrorSuite, kPrSDKErrorSuiteVersion, &suite);
    g_errorSuite = static_cast<const PrSDKErrorSuite3*>(suite);
    if (g_errorSuite)
        g_errorSuite->SetEventStringUnicode(kEventTypeInformational, u"Fake importer", u"started \u00e9\U0001F600");
    info->priority = 200;
    info->avoidAudioConform = 1;
    return imNoErr;
}

int32 onShutdown(imStdParms* stdParms) {
    if (g_errorSuite) basicSuite(stdParms)->ReleaseSuite(kPrSDKErrorSuite, kPrSDKErrorSuiteVersion);
    g_errorSuite = nullptr;
    return imNoErr;
}

// Two formats, the second with a list of two extensions.
int32 onGetIndFormat(std::intptr_t index, imIndFormatRec* rec) {
    if (index > 1) return imBadFormatIndex;
    const char* name = index == 0 ? "Norvik AVI" : "Second format";
    rec->filetype = index == 0 ? makeFourCCBigEndian("AVIV") : makeFourCCBigEndian("FAKE");
    std::strcpy(rec->FormatName, name);
    std::strcpy(rec->FormatShortName, name);
    std::memcpy(rec->PlatformExtension, index == 0 ? "avi\0" : "fk1\0fk2\0", index == 0 ? 5 : 9);
    return imNoErr;
}

int32 onGetSubTypeNames(imStdParms* stdParms, uint32 fileType, imSubTypeDescriptionRec** out) {
    if (fileType != makeFourCCBigEndian("AVIV")) return imUnsupported;
    auto* recs = reinterpret_cast<imSubTypeDescriptionRec*>(
        stdParms->piSuites->memFuncs->newPtrClear(2 * sizeof(imSubTypeDescriptionRec)));
    recs[0].subType = makeFourCCBigEndian("N8RA");
    std::memcpy(recs[0].subTypeName, u"Norvik 8-bit RGBA", sizeof(u"Norvik 8-bit RGBA"));
    recs[1].subType = makeFourCCBigEndian("N14R");
    std::memcpy(recs[1].subTypeName, u"Norvik 14-bit RGB", sizeof(u"Norvik 14-bit RGB"));
    *out = recs;
    return imNoErr;
}

// What the clip's file name asks of the session's selectors.
struct Session {
    int32 failSelector = -1;
    int32 failCode = 0;
    bool throws = false;
};

Session* sessionFor(const prUTF16Char* path) {
    std::string name;  // the file's base name, ASCII only
    for (; path && *path; ++path) {
        if (*path == u'/' || *path == u'\\')
            name.clear();
        else
            name += static_cast<char>(*path & 0x7F);
    }
    auto* session = new Session;
    if (std::sscanf(name.c_str(), "fail-%d-%d", &session->failSelector, &session->failCode) != 2)
        session->throws = std::sscanf(name.c_str(), "throw-%d", &session->failSelector) == 1;
    return session;
}

// The chosen failure of a selector, or -1 to answer normally.
int32 failure(const Session& session, int32 selector) {
    if (session.failSelector != selector) return -1;
    if (session.throws) throw std::runtime_error("fake importer fails on purpose");
    return session.failCode;
}

// (The clip driver reads only hasVideo, to go on to the pixel formats.)
int32 getInfo(std::intptr_t, imFileInfoRec8* info) {
    info->hasVideo = info->streamIdx == 0;
    return info->streamIdx == 0 ? imIterateStreams : imBadStreamIndex;
}

int32 getPixelFormat(std::intptr_t index, imIndPixelFormatRec* rec) {
    if (index >= 2) return imBadFormatIndex;
    rec->outPixelFormat = index == 0 ? PrPixelFormat_BGRA_4444_8u : PrPixelFormat_VUYA_4444_8u;
    return imNoErr;
}

// The size of one sample, then the sample.
int32 dataRate(std::intptr_t, imDataRateAnalysisRec* rec) {
    if (rec->buffer)
        *reinterpret_cast<imDataSample*>(rec->buffer) = {0x80000001u, 100};
    else
        rec->buffersize = int32(sizeof(imDataSample));
    return imNoErr;
}

int32 onOpenFile(void* param1, imFileOpenRec8* rec) {
    Session* session = sessionFor(rec->fileinfo.filepath);
    const int32 failed = failure(*session, imOpenFile8);
    if (failed >= 0) {
        delete session;
        return failed;
    }
    rec->privatedata = session;
    *static_cast<imFileRef*>(param1) = reinterpret_cast<imFileRef>(intptr_t(7));
    return imNoErr;
}

int32 onCloseFile(Session* session) {
    const int32 failed = session->failSelector == imCloseFile && !session->throws ? session->failCode : imNoErr;
    delete session;
    return failed;
}

// A selector on an open clip: its chosen failure, or its normal answer.
template <typename Record>
int32 onClip(int32 selector, void* param1, void* param2, int32 (*answer)(std::intptr_t, Record*)) {
    auto* rec = static_cast<Record*>(param2);
    const int32 failed = failure(*static_cast<Session*>(rec->privatedata), selector);
    return failed >= 0 ? failed : answer(reinterpret_cast<std::intptr_t>(param1), rec);
}

int32 dispatch(int32 selector, imStdParms* stdParms, void* param1, void* param2) {
    switch (selector) {
        case imInit: return onInit(stdParms, static_cast<imImportInfoRec*>(param1));
        case imShutdown: return onShutdown(stdParms);
        case imGetIndFormat:
            return onGetIndFormat(reinterpret_cast<std::intptr_t>(param1), static_cast<imIndFormatRec*>(param2));
        case imGetSupports8: return malSupports8;
        case imGetSubTypeNames:
            return onGetSubTypeNames(stdParms, uint32(reinterpret_cast<std::uintptr_t>(param1)),
                                     static_cast<imSubTypeDescriptionRec**>(param2));
        case imOpenFile8: return onOpenFile(param1, static_cast<imFileOpenRec8*>(param2));
        case imQuietFile: return std::max(failure(*static_cast<Session*>(param2), selector), int32(imNoErr));
        case imCloseFile: return onCloseFile(static_cast<Session*>(param2));
        case imGetInfo8: return onClip(selector, param1, param2, getInfo);
        case imGetIndPixelFormat: return onClip(selector, param1, param2, getPixelFormat);
        case imAnalysis:
            return onClip<imAnalysisRec>(selector, param1, param2,
                                         [](std::intptr_t, imAnalysisRec*) { return int32(imNoErr); });
        case imDataRateAnalysis: return onClip(selector, param1, param2, dataRate);
        default: return imUnsupported;
    }
}

#elif defined(FAKE_BAD)

imSubTypeDescriptionRec g_notHostMemory[1] = {};

int32 dispatch(int32 selector, imStdParms*, void*, void* param2) {
    switch (selector) {
        case imInit: return imBadFile;
        case imGetIndFormat: {
            // Names filled to the last byte with no terminating NUL; never ends.
            auto* rec = static_cast<imIndFormatRec*>(param2);
            rec->filetype = 0x01020304;
            std::memset(rec->FormatName, 'N', sizeof rec->FormatName);
            std::memset(rec->FormatShortName, 'S', sizeof rec->FormatShortName);
            std::memset(rec->PlatformExtension, 'e', sizeof rec->PlatformExtension);
            return imNoErr;
        }
        case imGetSupports8: return 42;
        case imGetSubTypeNames: *static_cast<imSubTypeDescriptionRec**>(param2) = g_notHostMemory; return imNoErr;
        default: return -7;
    }
}

#endif

}  // namespace

NORVIK_EXPORT int32 xImportEntry(int32 selector, imStdParms* stdParms, void* param1, void* param2) {
    return dispatch(selector, stdParms, param1, param2);
}
