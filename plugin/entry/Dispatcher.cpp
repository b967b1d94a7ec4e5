#include "entry/Dispatcher.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <stdexcept>

#include "async/AsyncEntry.h"
#include "audio/AudioHandlers.h"
#include "entry/FileSession.h"
#include "entry/ModuleHandlers.h"
#include "importer/ClipInfo.h"
#include "log/Log.h"
#include "log/Names.h"
#include "video/SourceVideo.h"

using namespace prsdk;

namespace {

// Set once the registry switch has been read (on the first selector of the process).
bool g_logSwitchRead = false;

// One selector call as the host made it; `session` is set for per-file selectors.
struct Call {
    imStdParms* stdParms;
    void* param1;
    void* param2;
    FileSession* session;
};

// Module: no session. File: the session is found through `privateData`, named in
// the log and locked for the call. Close: as File, then the session is deleted.
enum class Scope { Module, File, Close };

struct Route {
    int32 selector;
    Scope scope;
    void* (*privateData)(const Call& call);  // File and Close: where the host keeps the session
    prMALError (*handle)(const Call& call);
};

template <class Record>
Record* recordOf(void* param) {
    return static_cast<Record*>(param);
}

// Selectors whose number rides in param1.
uint32 indexParam(void* param1) { return static_cast<uint32>(reinterpret_cast<uintptr_t>(param1)); }

// imOpenFile8 names a session only when it reopens one; then its lock is held.
prMALError openFile(const Call& c) {
    auto* open = recordOf<imFileOpenRec8>(c.param2);
    auto* existing = static_cast<FileSession*>(open->privatedata);
    auto* fileRef = recordOf<imFileRef>(c.param1);
    if (!existing) return OnOpenFile8(c.stdParms, nullptr, fileRef, open);
    const std::lock_guard lock(existing->mutex());
    return OnOpenFile8(c.stdParms, existing, fileRef, open);
}

prMALError createAsyncImporter(const Call& c) {
    auto* creation = recordOf<imAsyncImporterCreationRec>(c.param1);
    if (!creation || !creation->inPrivateData)
        throw std::logic_error("no importer session in imAsyncImporterCreationRec.inPrivateData");
    return OnCreateAsyncImporter(c.stdParms, static_cast<FileSession*>(creation->inPrivateData)->importer(), creation);
}

// Every selector the module answers; any other is answered imUnsupported.
const Route kRoutes[] = {
    {imInit, Scope::Module, nullptr,
     [](const Call& c) { return OnInit(c.stdParms, recordOf<imImportInfoRec>(c.param1)); }},
    {imShutdown, Scope::Module, nullptr, [](const Call&) { return OnShutdown(); }},
    {imGetIndFormat, Scope::Module, nullptr,
     [](const Call& c) { return OnGetIndFormat(indexParam(c.param1), recordOf<imIndFormatRec>(c.param2)); }},
    {imGetSupports8, Scope::Module, nullptr, [](const Call&) -> prMALError { return malSupports8; }},
    {imOpenFile8, Scope::Module, nullptr, openFile},
    {imQuietFile, Scope::File, [](const Call& c) { return c.param2; },
     [](const Call& c) { return OnQuietFile(*c.session, recordOf<imFileRef>(c.param1)); }},
    {imCloseFile, Scope::Close, [](const Call& c) { return c.param2; },
     [](const Call& c) { return OnCloseFile(*c.session, recordOf<imFileRef>(c.param1)); }},
    {imGetInfo8, Scope::File, [](const Call& c) { return recordOf<imFileInfoRec8>(c.param2)->privatedata; },
     [](const Call& c) { return OnGetInfo8(c.session->importer(), recordOf<imFileInfoRec8>(c.param2)); }},
    {imAnalysis, Scope::File, [](const Call& c) { return recordOf<imAnalysisRec>(c.param2)->privatedata; },
     [](const Call& c) { return OnAnalysis(c.session->importer(), recordOf<imAnalysisRec>(c.param2)); }},
    {imDataRateAnalysis, Scope::File,
     [](const Call& c) { return recordOf<imDataRateAnalysisRec>(c.param2)->privatedata; },
     [](const Call& c) {
         return OnDataRateAnalysis(c.session->importer(), recordOf<imDataRateAnalysisRec>(c.param2));
     }},
    {imGetIndPixelFormat, Scope::File,
     [](const Call& c) { return recordOf<imIndPixelFormatRec>(c.param2)->privatedata; },
     [](const Call& c) {
         return OnGetIndPixelFormat(c.session->importer(), indexParam(c.param1),
                                    recordOf<imIndPixelFormatRec>(c.param2));
     }},
    {imGetSourceVideo, Scope::File, [](const Call& c) { return recordOf<imSourceVideoRec>(c.param2)->inPrivateData; },
     [](const Call& c) {
         return OnGetSourceVideo(c.session->importer(), c.session->decoder(), recordOf<imSourceVideoRec>(c.param2));
     }},
    {imCreateAsyncImporter, Scope::Module, nullptr, createAsyncImporter},
    {imGetSubTypeNames, Scope::Module, nullptr,
     [](const Call& c) {
         return OnGetSubTypeNames(c.stdParms, indexParam(c.param1), recordOf<imSubTypeDescriptionRec*>(c.param2));
     }},
    {imImportAudio7, Scope::File, [](const Call& c) { return recordOf<imImportAudioRec7>(c.param2)->privateData; },
     [](const Call& c) {
         return OnImportAudio7(c.session->importer(), c.session->audioCursor(),
                               recordOf<imImportAudioRec7>(c.param2));
     }},
    {imGetAudioChannelLayout, Scope::File,
     [](const Call& c) { return recordOf<imGetAudioChannelLayoutRec>(c.param2)->inPrivateData; },
     [](const Call& c) {
         return OnGetAudioChannelLayout(c.session->importer(), recordOf<imGetAudioChannelLayoutRec>(c.param2));
     }},
};

const Route* routeOf(int32 selector) {
    for (const Route& route : kRoutes)
        if (route.selector == selector) return &route;
    return nullptr;
}

// The session a per-file selector names, after logging which clip it is.
FileSession& sessionOf(void* privateData) {
    if (!privateData) throw std::logic_error("no importer session in the host's private data");
    auto& session = *static_cast<FileSession*>(privateData);
    logMessage("m_filePathUtf8: '%s'", session.importer().pathUtf8().c_str());
    logMessage("m_streamIndex:  %d", session.importer().streamIndex());
    return session;
}

prMALError route(const Route& route, Call call) {
    if (route.scope == Scope::Module) return route.handle(call);
    call.session = &sessionOf(route.privateData(call));
    std::unique_lock lock(call.session->mutex());
    const prMALError result = route.handle(call);
    if (route.scope == Scope::Close) {
        lock.unlock();
        delete call.session;
    }
    return result;
}

}  // namespace

prMALError dispatchSelector(int32 selector, imStdParms* stdParms, void* param1, void* param2) {
    if (!g_logSwitchRead) {
        readLogSwitch();
        g_logSwitchRead = true;
    }
    logMessage("----------------------");
    logMessage("[%s] (%d)", selectorName(selector), selector);
    const Route* found = routeOf(selector);
    const prMALError result = found ? route(*found, Call{stdParms, param1, param2, nullptr}) : imUnsupported;
    logMessage("    [%s] (%d)", resultName(result), result);
    return result;
}
