// Reads the structure of an AVI file: the RIFF chunk tree, the main header, one
// AviStream per stream list, the OpenDML extended header, the legacy index and
// every stream's frame index.
//
// The parser is tolerant: problems are appended to errorText in the order found;
// parse() fails only when the AVI form, hdrl or avih cannot be had. It never throws
// and never reads frame data. Hostile files cannot make it loop, recurse without
// end, read outside the file or allocate more than a small multiple of the file's
// size (see ChunkNode.h and AviIndex.h for the guards).
//
// Ownership: the parser does not own the file; it owns its streams. Not
// thread-safe while parsing; its results may be read from any thread afterwards.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "avi/AviStream.h"
#include "avi/ChunkNode.h"
#include "fileio/File.h"

// One idx1 entry as stored.
struct LegacyIndexEntry {
    FourCC ckid = 0;           // two decimal digits of the stream number, then a two-letter type
    uint32_t flags = 0;        // 0x10: key frame
    uint32_t chunkOffset = 0;  // chunk header position relative to the movi list's type field
    uint32_t chunkLength = 0;  // data size
};

class AviParser {
public:
    // Resets the parser and parses the file from its current position. True when the
    // AVI form, hdrl and avih were found and the main header was read.
    bool parse(fileio::File& file);

    // Positions in `streams`, ascending, of the streams whose fccType is `type`.
    std::vector<size_t> streamsOfType(FourCC type) const;

    // Reads the first `count` data bytes of a chunk; false when the chunk holds fewer,
    // or on a seek or read failure. Never throws.
    bool readChunkData(const ChunkNode& node, void* buffer, uint64_t count);

    fileio::File* file = nullptr;               // not owned; set by parse
    std::vector<ChunkNode> chunks;              // top-level chunks walked
    std::string errorText;                      // parse messages, in the order found
    std::array<uint8_t, 56> mainHeader{};       // avih as stored
    std::array<uint8_t, 248> extendedHeader{};  // dmlh as stored, rest zero
    std::vector<std::unique_ptr<AviStream>> streams;
    // idx1 entries. Released once the frame indexes are built, which hold everything
    // the parser's users need, so that a large index is not kept twice.
    std::vector<LegacyIndexEntry> legacyIndex;

    // Size of the file at parse time (0 when unknown).
    uint64_t fileSize() const { return m_fileSize; }
    // Bytes the standard index reader may still read: twice the file size per parse,
    // so index records that repeat or point at each other cannot multiply the work.
    uint64_t standardIndexBudget = 0;

private:
    void reset(fileio::File& file);
    bool checkSignature();
    bool parseHeaderList(const ChunkNode& hdrl);
    bool parseStreamList(const ChunkNode& strl, AviStream& stream);
    void readExtendedHeader(const ChunkNode& odml);
    void readLegacyIndex(const ChunkNode& idx1);
    void streamMessage(const AviStream& stream, const char* text);

    uint64_t m_fileSize = 0;
};
