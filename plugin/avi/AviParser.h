// Reads the structure of an AVI file: the RIFF chunk tree, the main header, one
// AviStream per stream list, the OpenDML extended header, and every stream's
// frame indexes (from the OpenDML indexes and from idx1).
//
// The parser is tolerant: problems are appended to errorText in the order found;
// parse() fails only when the AVI form, hdrl or avih cannot be had, or when memory
// runs out (then errorText says so and the streams are released: a clip whose
// indexes could not be built whole is never described as a shorter one).
// Nothing is thrown out of it and it never reads frame data.
//
// Memory follows what the file holds, not what its size fields claim: indexes are
// read in bounded pieces, a chunk tree, a stream format and errorText have fixed
// caps, and each index entry kept stands for index bytes of its own in the file
// (see AviIndex.h for the rule). Hostile files cannot make it loop, recurse
// without end or read outside the file (see ChunkNode.h and AviIndex.h).
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

class AviParser {
public:
    // Largest strf chunk taken as a stream format (real ones are a bitmap or wave
    // header with at most 64 KiB of extra bytes); a larger one fails its stream.
    static constexpr uint64_t kMaxFormatSize = 1 << 20;
    // errorText stops growing near this size; one line then says messages were dropped.
    static constexpr size_t kMaxErrorText = 64 * 1024;

    // Resets the parser and parses the file from its current position. True when the
    // AVI form, hdrl and avih were found and the main header was read.
    bool parse(fileio::File& file);

    // Positions in `streams`, ascending, of the streams whose fccType is `type`.
    std::vector<size_t> streamsOfType(FourCC type) const;

    // Reads the first `count` data bytes of a chunk; false when the chunk holds fewer,
    // or on a seek or read failure. Never throws.
    bool readChunkData(const ChunkNode& node, void* buffer, uint64_t count);

    // Appends a message to errorText (within kMaxErrorText); "stream[N" comes first
    // for streamMessage, so `text` starts with "]: ".
    void message(const std::string& text);
    void streamMessage(const AviStream& stream, const std::string& text);

    fileio::File* file = nullptr;               // not owned; set by parse
    std::vector<ChunkNode> chunks;              // top-level chunks walked
    std::string errorText;                      // parse messages, in the order found
    std::array<uint8_t, 56> mainHeader{};       // avih as stored
    std::array<uint8_t, 248> extendedHeader{};  // dmlh as stored, rest zero
    std::vector<std::unique_ptr<AviStream>> streams;

private:
    void reset(fileio::File& file);
    bool parseForm();
    bool checkSignature();
    bool parseHeaderList(const ChunkNode& hdrl);
    bool parseStreamList(const ChunkNode& strl, AviStream& stream);
    void readExtendedHeader(const ChunkNode& odml);
    bool failed(const char* prefix, const char* cause) noexcept;

    uint64_t m_fileSize = 0;
    const char* m_step = "";  // what parse is doing, for the message of an unexpected failure
    bool m_messagesDropped = false;
};
