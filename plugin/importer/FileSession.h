// Opening, quieting and closing a clip file: the life of a NorvikImporter.
#pragma once

#include "importer/NorvikImporter.h"
#include "prsdk/PrSDK.h"

// The one file type this module imports: 'AVIV'. imGetIndFormat declares it and
// an opened file is marked with it.
constexpr prsdk::uint32 kNorvikFileType = makeFourCCBigEndian("AVIV");

// Creates a session (or reuses the one in privatedata) and opens the file.
prsdk::prMALError onOpenFile8(const prsdk::imStdParms* stdParms, prsdk::imFileRef* fileRef,
                              prsdk::imFileOpenRec8* open);
// Closes the file handle; the session and what was parsed stay.
prsdk::prMALError onQuietFile(NorvikImporter& session, prsdk::imFileRef* fileRef);
// Closes the file and deletes the session.
prsdk::prMALError onCloseFile(NorvikImporter* session, prsdk::imFileRef* fileRef);
