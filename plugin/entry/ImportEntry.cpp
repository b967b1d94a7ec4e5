// The module's one export: every host call enters here.
#include "entry/Barrier.h"
#include "entry/Dispatcher.h"
#include "platform/Export.h"

using namespace prsdk;

NORVIK_EXPORT prMALError xImportEntry(int32 selector, imStdParms* stdParms, void* param1, void* param2) {
    return runInsideBarrier(selector, [&] { return dispatchSelector(selector, stdParms, param1, param2); });
}
