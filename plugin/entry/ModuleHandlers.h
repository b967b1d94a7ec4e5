// The module-wide answers: start-up, shutdown and the file format description.
#pragma once

#include "prsdk/PrSDK.h"

// The one file type this module imports: 'AVIV'.
constexpr prsdk::uint32 kNorvikFileType = prsdk::fourccBigEndian("AVIV");

prsdk::prMALError onInit(prsdk::imStdParms* stdParms, prsdk::imImportInfoRec* info);
prsdk::prMALError onShutdown();
prsdk::prMALError onGetIndFormat(prsdk::uint32 index, prsdk::imIndFormatRec* format);
