#include "async/AsyncEntry.h"

#include <memory>
#include <stdexcept>

#include "async/NorvikAsyncImporter.h"
#include "log/Log.h"
#include "log/Names.h"

using namespace prsdk;

namespace {

NorvikAsyncImporter& importerOf(void* privateData) {
    if (!privateData) throw std::logic_error("no asynchronous importer in the host's private data");
    return *static_cast<NorvikAsyncImporter*>(privateData);
}

template <class Record>
Record& recordOf(void* param) {
    if (!param) throw std::logic_error("the host's record is NULL");
    return *static_cast<Record*>(param);
}

int32 routeAsync(int32 selector, void* param) {
    switch (selector) {
        case aiInitiateAsyncRead: {
            const auto& request = recordOf<const aiAsyncRequest>(param);
            return importerOf(request.inPrivateData).OnInitiateAsyncRead(request);
        }
        case aiFlush: return importerOf(param).OnFlush();
        case aiGetFrame: {
            auto& request = recordOf<imSourceVideoRec>(param);
            return importerOf(request.inPrivateData).OnGetFrame(request);
        }
        case aiClose: delete static_cast<NorvikAsyncImporter*>(param); return aiNoError;
        default: return aiUnsupported;
    }
}

void logUnhandled(int32 selector, const char* what) noexcept {
    try {
        logMessage("xAsyncImportEntry: FATAL: Unhandled exception during %s (%d): %s", asyncSelectorName(selector),
                   int(selector), what);
    } catch (...) {
        // The log cannot take the line (out of memory); the answer is still 99.
    }
}

}  // namespace

prMALError OnCreateAsyncImporter(const imStdParms* stdParms, const NorvikImporter& creator,
                                 imAsyncImporterCreationRec* creation) {
    auto importer = std::make_unique<NorvikAsyncImporter>(stdParms);
    const int32_t result = importer->openAndParse(creator.path(), creator.streamIndex(), creator.access());
    if (result != imNoErr) return result;
    creation->outAsyncEntry = xAsyncImportEntry;
    creation->outAsyncPrivateData = importer.release();
    return imNoErr;
}

int32 xAsyncImportEntry(int32 selector, void* param) noexcept {
    try {
        return routeAsync(selector, param);
    } catch (const std::exception& e) {
        logUnhandled(selector, e.what());
    } catch (...) {
        logUnhandled(selector, "unknown exception");
    }
    return imUnknownError;
}
