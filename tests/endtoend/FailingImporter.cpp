// A stand-in importer module for the clip driver's tests. It answers like a
// clip importer with one video and two audio streams, except for one selector
// chosen by the clip's file name: "fail-<selector>-<code>.avi" makes that
// selector answer <code>; "throw-<selector>.avi" makes it throw. A session is
// allocated at imOpenFile8 and freed at imCloseFile (whatever it answers), so a
// host that forgets to close shows up as a leak.
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "prsdk/PrSDK.h"

#ifdef _WIN32
#define FAKE_EXPORT extern "C" __declspec(dllexport)
#else
#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

using namespace prsdk;

namespace {

struct Session {
    int32 failSelector = -1;
    int32 failCode = 0;
    bool throws = false;
};

// The file's base name, ASCII only.
std::string baseName(const prUTF16Char* path) {
    std::string name;
    for (; path && *path; ++path) {
        if (*path == u'/' || *path == u'\\')
            name.clear();
        else
            name += static_cast<char>(*path & 0x7F);
    }
    return name;
}

Session* sessionFor(const prUTF16Char* path) {
    const std::string name = baseName(path);
    auto* session = new Session;
    if (name.rfind("fail-", 0) == 0) {
        char* end = nullptr;
        session->failSelector = static_cast<int32>(std::strtol(name.c_str() + 5, &end, 10));
        session->failCode = static_cast<int32>(std::strtol(end + 1, nullptr, 10));
    } else if (name.rfind("throw-", 0) == 0) {
        session->failSelector = static_cast<int32>(std::strtol(name.c_str() + 6, nullptr, 10));
        session->throws = true;
    }
    return session;
}

// The chosen failure of a selector, or -1 to answer normally.
int32 failure(const Session& session, int32 selector) {
    if (session.failSelector != selector) return -1;
    if (session.throws) throw std::runtime_error("fake importer fails on purpose");
    return session.failCode;
}

int32 getInfo(imFileInfoRec8* info) {
    info->hasVideo = info->streamIdx == 0;
    if (info->hasVideo) {
        info->vidInfo.imageWidth = 16;
        info->vidInfo.imageHeight = 8;
        info->vidScale = 25;
        info->vidSampleSize = 1;
        info->vidDuration = 3;
    }
    info->hasAudio = 1;
    info->audInfo = {2, 48000.0f, kPrAudioSampleType_16BitInt};
    info->audDuration = 5760;
    return info->streamIdx == 0 ? imIterateStreams : imBadStreamIndex;
}

int32 dataRate(imDataRateAnalysisRec* rec) {
    if (!rec->buffer) {
        rec->buffersize = 3 * int32(sizeof(imDataSample));
        return imNoErr;
    }
    auto* samples = reinterpret_cast<imDataSample*>(rec->buffer);
    for (int i = 0; i < 3; ++i) samples[i] = {0x80000001u, uint32(100 + i)};
    return imNoErr;
}

int32 fileSelector(int32 selector, void* param1, void* param2, Session& session) {
    const int32 failed = failure(session, selector);
    switch (selector) {
        case imGetInfo8: return failed >= 0 ? failed : getInfo(static_cast<imFileInfoRec8*>(param2));
        case imGetIndPixelFormat: {
            const auto index = reinterpret_cast<intptr_t>(param1);
            if (failed >= 0) return failed;
            if (index >= 2) return imBadFormatIndex;
            static_cast<imIndPixelFormatRec*>(param2)->outPixelFormat =
                index == 0 ? PrPixelFormat_BGRA_4444_8u : PrPixelFormat_VUYA_4444_8u;
            return imNoErr;
        }
        case imAnalysis: {
            auto* rec = static_cast<imAnalysisRec*>(param2);
            if (failed < 0) std::snprintf(rec->buffer, std::size_t(rec->buffersize), "Fake analysis\n");
            return failed >= 0 ? failed : imNoErr;
        }
        case imDataRateAnalysis: return failed >= 0 ? failed : dataRate(static_cast<imDataRateAnalysisRec*>(param2));
        default: return imUnsupported;
    }
}

Session& sessionOf(void* privatedata) { return *static_cast<Session*>(privatedata); }

int32 dispatch(int32 selector, void* param1, void* param2) {
    switch (selector) {
        case imInit:
        case imShutdown: return imNoErr;
        case imGetIndFormat: return imBadFormatIndex;
        case imOpenFile8: {
            auto* rec = static_cast<imFileOpenRec8*>(param2);
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
        case imQuietFile: {
            const int32 failed = failure(sessionOf(param2), selector);
            return failed >= 0 ? failed : imNoErr;
        }
        case imCloseFile: {
            Session* session = &sessionOf(param2);
            const int32 failed = session->failSelector == imCloseFile && !session->throws ? session->failCode : imNoErr;
            delete session;
            return failed;
        }
        case imGetInfo8:
            return fileSelector(selector, param1, param2, sessionOf(static_cast<imFileInfoRec8*>(param2)->privatedata));
        case imGetIndPixelFormat:
            return fileSelector(selector, param1, param2,
                                sessionOf(static_cast<imIndPixelFormatRec*>(param2)->privatedata));
        case imAnalysis:
            return fileSelector(selector, param1, param2, sessionOf(static_cast<imAnalysisRec*>(param2)->privatedata));
        case imDataRateAnalysis:
            return fileSelector(selector, param1, param2,
                                sessionOf(static_cast<imDataRateAnalysisRec*>(param2)->privatedata));
        default: return imUnsupported;
    }
}

}  // namespace

FAKE_EXPORT int32 xImportEntry(int32 selector, imStdParms*, void* param1, void* param2) {
    return dispatch(selector, param1, param2);
}
