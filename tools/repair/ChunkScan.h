// Walks an AVI file by its chunk headers alone, without trusting any index or
// list size: every RIFF form ('AVI ' and 'AVIX') and every movi (and 'rec ')
// list is entered, header lists, JUNK and index chunks are stepped over whole, and
// the data chunks are listed in file order. Bytes that do not start a plausible
// chunk (garbage, a missing pad byte, a chunk whose size is wrong) are skipped up
// to the next plausible chunk id: NNdc, NNdb, NNwb, NNtx, NNpc, ix##, LIST, JUNK,
// idx1, RIFF. The walk ends cleanly at the end of the file, also inside a chunk:
// a data chunk cut there is listed with the bytes it still has.
//
// Memory: one ScannedChunk (24 bytes) per data chunk, at most one per 8 bytes of
// file, and a bounded list of notes. Reads through ByteSource; never throws
// except std::bad_alloc.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ByteSource.h"
#include "prsdk/FourCC.h"

namespace repair {

struct ScannedForm {
    uint64_t offset = 0;        // of the RIFF header
    FourCC type = 0;            // 'AVI ' or 'AVIX'
    uint32_t declaredSize = 0;  // the RIFF size field
    uint64_t dataChunks = 0;    // data chunks found in it
};

struct ScannedChunk {
    FourCC id = 0;
    uint32_t size = 0;       // the size field
    uint32_t available = 0;  // data bytes the file holds (below size only for the cut last chunk)
    uint32_t form = 0;       // index into ScanResult::forms
    uint64_t dataOffset = 0;

    bool whole() const { return available == size; }
    // Stream number from the two digits of the id.
    int stream() const;
};

struct ScanNote {
    uint64_t offset = 0;
    std::string text;
};

struct ScanResult {
    uint64_t fileSize = 0;
    std::vector<ScannedForm> forms;
    std::vector<ScannedChunk> chunks;  // data chunks, in file order
    std::vector<ScanNote> notes;       // what was skipped or cut, in file order (capped)
    uint64_t skippedBytes = 0;         // garbage stepped over while resynchronising
    uint64_t junkBytes = 0;            // JUNK chunks, headers included
    uint64_t indexChunks = 0;          // idx1 and ix## chunks met
    bool endsInsideChunk = false;      // the file ends inside a chunk or its header
    std::string cutDescription;        // what was cut at the end, e.g. "00dc chunk at 1234 (500 of 800 bytes)"
};

constexpr size_t kMaxScanNotes = 200;

// True for the data chunk ids NNdc, NNdb, NNwb, NNtx, NNpc.
bool isDataChunkId(FourCC id);

ScanResult scanChunks(ByteSource& source);

}  // namespace repair
