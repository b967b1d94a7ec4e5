// One RIFF chunk as found by the walk, and the walk itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fileio/File.h"
#include "prsdk/FourCC.h"

struct ChunkNode {
    FourCC id = 0;
    uint32_t size = 0;                // size field as stored (excludes header and pad byte)
    FourCC listType = 0;              // list type of a LIST or RIFF chunk, 0 for a plain chunk
    int64_t offset = 0;               // file position of the chunk header
    std::vector<ChunkNode> children;  // filled only for the lists the walk descends into

    bool isList() const { return id == makeFourCC("LIST") || id == makeFourCC("RIFF"); }
    FourCC key() const { return isList() ? listType : id; }
    int64_t dataStart() const { return offset + (isList() ? 12 : 8); }
    // Data bytes; a list whose size field is below 4 holds none.
    uint64_t dataSize() const { return isList() ? (size >= 4 ? size - 4u : 0u) : size; }
    // First child whose id (for plain chunks) or list type (for lists) is key; null if none.
    const ChunkNode* findChild(FourCC key, bool list) const;
};

struct WalkRules {
    std::vector<FourCC> descendTypes;  // list types whose children are walked
    std::vector<FourCC> stopKeys;      // keys after which a level ends at once
};

// What one walk has found so far, shared by its levels.
struct WalkState {
    // One line per problem, naming the chunk's offset and the cause, e.g.
    // "riff chunk at 4096: Read error: size: 8, read: 3\n".
    std::string problems;
    uint64_t nodes = 0;  // chunks recorded, against kMaxWalkNodes
};

// Walks one level of chunks from the file's current position, `limit` bytes long,
// appending them to `list` and descending into the lists the rules name.
// Returns false when a read or seek failed or the structure is broken, with the
// cause in state.problems; the nodes found so far stay. Read and seek failures
// never leave it; an allocation failure does (std::bad_alloc), so that a tree cut
// short for want of memory is never taken for a broken file. Never reads outside
// the file.
//
// Hostile sizes: every chunk advances the walk by at least 8 bytes, so each level
// ends; a list whose size field is below 4 cannot hold its own type and ends its
// level as broken; lists deeper than kMaxWalkDepth are recorded without their
// children and also count as broken. Sizes up to 0xFFFFFFFF are added in 64 bits,
// so a chunk claiming more than the file holds simply moves the walk past the end,
// where the next header read fails. The walk records at most kMaxWalkNodes chunks
// in all (the header lists of a real file hold a few dozen): a list of gigabytes
// of zeros, which reads as empty chunks, ends there as broken instead of growing
// the tree by one node per 8 bytes.
constexpr int kMaxWalkDepth = 8;
constexpr uint64_t kMaxWalkNodes = 65536;
bool readChunks(std::vector<ChunkNode>& list, fileio::File& file, uint64_t limit, const WalkRules& rules,
                WalkState& state, int depth = 0);
