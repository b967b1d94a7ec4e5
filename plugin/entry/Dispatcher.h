// The selector dispatcher behind xImportEntry: reads the log switch on the first
// call, logs every selector and result by name, and routes each selector to its
// handler. Exceptions pass through to the caller's barrier.
#pragma once

#include "prsdk/PrSDK.h"

prsdk::prMALError dispatchSelector(prsdk::int32 selector, prsdk::imStdParms* stdParms, void* param1, void* param2);
