#include "entry/Dispatcher.h"

#include <cstdint>
#include <stdexcept>

#include "async/AsyncEntry.h"
#include "audio/AudioHandlers.h"
#include "entry/ModuleHandlers.h"
#include "importer/ClipInfo.h"
#include "importer/FileSession.h"
#include "log/Log.h"
#include "log/Names.h"
#include "video/SourceVideo.h"

using namespace prsdk;

namespace {

// Set once the registry switch has been read (on the first selector of the process).
bool g_logSwitchRead = false;

// Selectors whose number rides in param1.
uint32 indexParam(void* param1) { return static_cast<uint32>(reinterpret_cast<uintptr_t>(param1)); }

// The session a per-file selector names, after logging which clip it is.
NorvikImporter& sessionOf(void* privateData) {
    if (!privateData) throw std::logic_error("no importer session in the host's private data");
    auto& session = *static_cast<NorvikImporter*>(privateData);
    logMessage("m_filePathUtf8: '%s'", session.m_filePathUtf8.c_str());
    logMessage("m_streamIndex:  %d", session.m_streamIndex);
    return session;
}

prMALError routeFileSelector(int32 selector, void* param1, void* param2) {
    switch (selector) {
        case imQuietFile: return onQuietFile(sessionOf(param2), static_cast<imFileRef*>(param1));
        case imCloseFile: return onCloseFile(&sessionOf(param2), static_cast<imFileRef*>(param1));
        case imGetInfo8: {
            auto* info = static_cast<imFileInfoRec8*>(param2);
            return onGetInfo8(sessionOf(info->privatedata), info);
        }
        case imAnalysis: {
            auto* analysis = static_cast<imAnalysisRec*>(param2);
            return onAnalysis(sessionOf(analysis->privatedata), analysis);
        }
        case imDataRateAnalysis: {
            auto* dataRate = static_cast<imDataRateAnalysisRec*>(param2);
            return onDataRateAnalysis(sessionOf(dataRate->privatedata), dataRate);
        }
        case imGetIndPixelFormat: {
            auto* rec = static_cast<imIndPixelFormatRec*>(param2);
            return onGetIndPixelFormat(sessionOf(rec->privatedata), indexParam(param1), rec);
        }
        case imGetSourceVideo: {
            auto* request = static_cast<imSourceVideoRec*>(param2);
            return onGetSourceVideo(sessionOf(request->inPrivateData), request);
        }
        case imImportAudio7: {
            auto* request = static_cast<imImportAudioRec7*>(param2);
            return onImportAudio7(sessionOf(request->privateData), request);
        }
        case imGetAudioChannelLayout: {
            auto* layout = static_cast<imGetAudioChannelLayoutRec*>(param2);
            return onGetAudioChannelLayout(sessionOf(layout->inPrivateData), layout);
        }
        default: return imUnsupported;
    }
}

prMALError route(int32 selector, imStdParms* stdParms, void* param1, void* param2) {
    switch (selector) {
        case imInit: return onInit(stdParms, static_cast<imImportInfoRec*>(param1));
        case imShutdown: return onShutdown();
        case imGetIndFormat: return onGetIndFormat(indexParam(param1), static_cast<imIndFormatRec*>(param2));
        case imGetSupports8: return malSupports8;
        case imOpenFile8:
            return onOpenFile8(stdParms, static_cast<imFileRef*>(param1), static_cast<imFileOpenRec8*>(param2));
        case imQuietFile:
        case imCloseFile:
        case imGetInfo8:
        case imAnalysis:
        case imDataRateAnalysis:
        case imGetIndPixelFormat:
        case imGetSourceVideo: return routeFileSelector(selector, param1, param2);
        case imCreateAsyncImporter:
            return onCreateAsyncImporter(stdParms, static_cast<imAsyncImporterCreationRec*>(param1));
        case imGetSubTypeNames:
            return onGetSubTypeNames(stdParms, indexParam(param1), static_cast<imSubTypeDescriptionRec**>(param2));
        case imImportAudio7:
        case imGetAudioChannelLayout: return routeFileSelector(selector, param1, param2);
        default: return imUnsupported;
    }
}

}  // namespace

prMALError dispatchSelector(int32 selector, imStdParms* stdParms, void* param1, void* param2) {
    if (!g_logSwitchRead) {
        readLogSwitch();
        g_logSwitchRead = true;
    }
    logMessage("----------------------");
    logMessage("[%s] (%d)", selectorName(selector), selector);
    const prMALError result = selector > 64 ? imUnsupported : route(selector, stdParms, param1, param2);
    logMessage("    [%s] (%d)", resultName(result), result);
    return result;
}
