#include "entry/Dispatcher.h"

#include <cstdint>

#include "entry/ModuleHandlers.h"
#include "log/Log.h"
#include "log/Names.h"

using namespace prsdk;

namespace {

// Set once the registry switch has been read (on the first selector of the process).
bool g_logSwitchRead = false;

// Selectors whose number rides in param1.
uint32 indexParam(void* param1) { return static_cast<uint32>(reinterpret_cast<uintptr_t>(param1)); }

prMALError route(int32 selector, imStdParms* stdParms, void* param1, void* param2) {
    switch (selector) {
        case imInit:
            return onInit(stdParms, static_cast<imImportInfoRec*>(param1));
        case imShutdown:
            return onShutdown();
        case imGetIndFormat:
            return onGetIndFormat(indexParam(param1), static_cast<imIndFormatRec*>(param2));
        case imGetSupports8:
            return malSupports8;
        case imGetSubTypeNames:
            return onGetSubTypeNames(stdParms, indexParam(param1), static_cast<imSubTypeDescriptionRec**>(param2));
        default:
            return imUnsupported;
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
