// OpenDML and legacy indexes of an AVI file, turned into each stream's frame index.
//
// Guards against hostile indexes:
//   - index records are taken only from bytes the file actually holds: a count
//     (nEntriesInUse) larger than the records present gives the "smaller than
//     nEntriesInUse" message and the records present, never an allocation by the count;
//   - a standard index is read at most as far as the file goes; one that yields no
//     bytes gives "could not read standard index";
//   - standard index reads share a budget of twice the file size per parse, so super
//     index records that repeat one standard index, point at each other, at the
//     super index itself or at overlapping data end after a bounded amount of work;
//     past the budget the stream gets "std index (ix..) reads exceed the file size"
//     and falls back to its legacy index.
#pragma once

#include "avi/AviParser.h"

// Reads the super index in `indx` and the standard indexes it names into `stream`.
// Appends its messages to the parser's errorText; never fails the stream.
void readSuperIndex(AviParser& parser, const ChunkNode& indx, AviStream& stream);

// Builds every stream's legacy (from idx1, when movi is not null) and OpenDML frame
// indexes, then releases the raw index entries.
void buildFrameIndexes(AviParser& parser, const ChunkNode* movi);
