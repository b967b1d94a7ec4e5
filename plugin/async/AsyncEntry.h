// The asynchronous importer's creation (imCreateAsyncImporter) and the entry point
// the host then calls it through.
#pragma once

#include "importer/NorvikImporter.h"
#include "prsdk/PrSDK.h"

// Opens a NorvikAsyncImporter on the clip of the creating session (the one the
// record's inPrivateData names) with the session's path, stream index and access,
// and hands the host xAsyncImportEntry and the importer. 0; or the open's result
// (2 when the file cannot be opened, the parse's error otherwise), and then the
// host gets no entry point. The exceptions of the open pass through.
prsdk::prMALError OnCreateAsyncImporter(const prsdk::imStdParms* stdParms, const NorvikImporter& creator,
                                        prsdk::imAsyncImporterCreationRec* creation);

// The asynchronous entry point: aiInitiateAsyncRead (param: aiAsyncRequest),
// aiGetFrame (imSourceVideoRec), aiFlush and aiClose (the importer itself) answer
// as their handlers do; aiClose destroys the importer. Every other selector
// answers 1 (aiUnsupported) and does nothing. An exception of a handler is logged
// as FATAL and answered with 99; none leaves.
prsdk::int32 xAsyncImportEntry(prsdk::int32 selector, void* param) noexcept;
