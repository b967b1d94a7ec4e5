// The OpenDML and legacy (idx1) indexes of an AVI file, read straight into each
// stream's frame indexes.
//
// What is kept, so that memory follows the index bytes the file really holds and
// not what its size and count fields claim:
//   - Index chunks are read a bounded piece at a time, never into a buffer sized by
//     a length field, and only records the file holds whole are used (the last idx1
//     record excepted: a partial one is padded with zeros). A count (nEntriesInUse)
//     larger than its chunk can hold gives the "smaller than nEntriesInUse" message.
//     A standard index cut off by the end of the file (a recording that stopped
//     while writing) keeps the entries read so far, without a message, and the
//     stream keeps its OpenDML index.
//   - A stream's OpenDML index runs forward through the file, as writers lay it
//     out: each standard index chunk a super index entry names starts at or after
//     the end of the one before (dwSize, counted as at least 8 bytes), and each
//     data chunk a standard index entry names starts at least 8 bytes (a chunk
//     header) after the chunk the entry before named. So every kept record comes
//     from index bytes of its own: a run of zeros (a hole in a sparse file, a
//     zeroed index) or a repeated record yields at most one, and super index records
//     that repeat a standard index or point into each other cannot multiply the
//     reading. The first record out of this order ends the reading of the stream's
//     OpenDML index with "... entries out of file order at: <position>" and the
//     stream falls back to its legacy index.
//   - idx1 records are kept only for a stream's chunk ids; a record whose chunk id
//     is zero (a hole, an index never written) ends idx1, so that a hole costs no
//     more time than memory.
// A stream therefore keeps at most one frame entry per 8 bytes of OpenDML index
// and per 16 bytes of idx1 that the file holds. Each kept entry is a 24-byte
// FrameEntry, and nothing else: the entries are not stored raw, and each index is
// read twice, once to count what it keeps and once into a frame index allocated
// at that size. A super index record costs 16 bytes (40 at most while the list
// grows) plus the 24-byte header of its standard index.
#pragma once

#include "avi/AviParser.h"

// Reads the super index in `indx` and the standard indexes it names into `stream`:
// the header fields and the stream's OpenDML frame index. Appends its messages to
// the parser's errorText; never fails the stream. Allocation failures are thrown.
void readSuperIndex(AviParser& parser, const ChunkNode& indx, AviStream& stream);

// Reads idx1 into the legacy frame index of every stream (only when the form has a
// movi list, against which idx1's offsets count). Allocation failures are thrown.
void readLegacyIndex(AviParser& parser, const ChunkNode& idx1, const ChunkNode* movi);
