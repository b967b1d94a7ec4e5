// The module-wide answers: start-up (with the pixel-format catalogue), shutdown,
// the file format description and the codec subtypes.
#pragma once

#include "prsdk/PrSDK.h"

prsdk::prMALError OnInit(prsdk::imStdParms* stdParms, prsdk::imImportInfoRec* info);
prsdk::prMALError OnShutdown();
prsdk::prMALError OnGetIndFormat(prsdk::uint32 index, prsdk::imIndFormatRec* format);
// Lists every codec subtype in one block of host memory from newPtr, stored in *subTypes.
prsdk::prMALError OnGetSubTypeNames(prsdk::imStdParms* stdParms, prsdk::uint32 fileType,
                                    prsdk::imSubTypeDescriptionRec** subTypes);
