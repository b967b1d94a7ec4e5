#include "entry/ModuleHandlers.h"

#include <cstring>
#include <memory>

#include "entry/ModuleState.h"
#include "log/Log.h"
#include "log/Names.h"

using namespace prsdk;

namespace {

// The basic suite the host hands every module through its utility functions.
const SPBasicSuite* basicSuiteOf(const imStdParms* stdParms) {
    return stdParms->piSuites->utilFuncs->getSPBasicSuite();
}

template <size_t N>
void copyText(char (&target)[N], const char* text, size_t length) {
    std::memcpy(target, text, length < N ? length : N);
}

}  // namespace

prMALError onInit(imStdParms* stdParms, imImportInfoRec* info) {
    const SPBasicSuite* basic = basicSuiteOf(stdParms);
    auto holder = std::make_unique<ScopedSuite>(basic, kPrSDKErrorSuite, kPrSDKErrorSuiteVersion);
    holder->acquire();
    replaceErrorSuite(std::move(holder));

    info->priority = 200;
    info->avoidAudioConform = 1;
    return imNoErr;
}

prMALError onShutdown() {
    replaceErrorSuite(nullptr);
    return imNoErr;
}

prMALError onGetIndFormat(uint32 index, imIndFormatRec* format) {
    // Names and a one-entry extension list ("avi" and a second NUL), zero-filled.
    char formatName[256] = "Norvik AVI";
    char shortName[32] = "Norvik AVI";
    char extension[256] = "avi\0";
    if (index != 0) {
        logMessage("index %u: imBadFormatIndex", index);
        return imBadFormatIndex;
    }
    format->filetype = kNorvikFileType;
    format->canWriteTimecode = 0;
    copyText(format->FormatName, formatName, sizeof(formatName));
    copyText(format->FormatShortName, shortName, sizeof(shortName));
    copyText(format->PlatformExtension, extension, sizeof(extension));
    logMessage("index %u: %s", index, fourccToText(kNorvikFileType, true).c_str());
    return imNoErr;
}
