// One stream of an AVI file: its headers as stored, its index data and its frame index.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "avi/ChunkNode.h"

// One data chunk of a stream, as located through an index. 24 bytes: a million
// chunks cost 24 MB (frame indexes are allocated at their final size, see AviIndex.h).
struct FrameEntry {
    uint64_t offset = 0;     // absolute file position of the chunk's data
    uint64_t byteStart = 0;  // sum of the sizes of the entries before this one
    uint32_t size = 0;       // data bytes (0 for an empty chunk)
    bool keyFrame = false;
};
static_assert(sizeof(FrameEntry) == 24, "FrameEntry is kept compact: one per indexed chunk");

// The 24-byte header of an indx (super index) chunk, as stored.
struct SuperIndexHeader {
    std::array<uint8_t, 24> bytes{4, 0};  // wLongsPerEntry reads 4 until an indx is read
    uint16_t longsPerEntry() const;
    uint8_t indexSubType() const { return bytes[2]; }
    uint8_t indexType() const { return bytes[3]; }
    uint32_t entriesInUse() const;
    FourCC chunkId() const;
};

struct SuperIndexEntry {
    uint64_t offset = 0;    // file position of a standard index chunk's header
    uint32_t size = 0;      // that chunk's size including its 8-byte header
    uint32_t duration = 0;  // not used
};

// The header of one ix## (standard index) chunk. Its entries go straight into the
// stream's frame index as they are read; they are not kept a second time.
struct StandardIndex {
    // The 24-byte header as stored; baseOffset sits unaligned at byte 12.
    std::array<uint8_t, 24> header{};

    uint16_t longsPerEntry() const;
    uint32_t entriesInUse() const;
    FourCC chunkId() const;
    uint64_t baseOffset() const;
};

// The 56-byte stream header (strh), decoded once from its little-endian bytes.
struct StreamHeader {
    static constexpr size_t kSize = 56;

    // The fields of `bytes` (kSize of them) in the order stored.
    static StreamHeader decode(const uint8_t* bytes);

    FourCC fccType = 0;  // "vids", "auds", ...
    FourCC fccHandler = 0;
    uint32_t flags = 0;
    uint16_t priority = 0;
    uint16_t language = 0;
    uint32_t initialFrames = 0;
    uint32_t scale = 0;
    uint32_t rate = 0;  // rate / scale: frames (or samples) per second
    uint32_t start = 0;
    uint32_t length = 0;  // in units of the rate
    uint32_t suggestedBufferSize = 0;
    uint32_t quality = 0;
    uint32_t sampleSize = 0;
    int16_t frameLeft = 0;
    int16_t frameTop = 0;
    int16_t frameRight = 0;
    int16_t frameBottom = 0;
};

// Ownership: owned by AviParser::streams; lives until the next parse or the
// parser's destruction. Read-only after parsing; may then be read from any thread.
struct AviStream {
    uint64_t number = 0;               // ordinal of the strl list, counting ones that failed
    StreamHeader header;          // strh
    std::vector<uint8_t> format;       // strf data
    SuperIndexHeader superIndexHeader;
    std::vector<SuperIndexEntry> superIndex;
    std::vector<StandardIndex> standardIndexes;  // one per super index entry kept
    bool odmlIndexComplete = false;              // indx read and neither it nor its standard indexes had a problem
    std::vector<FrameEntry> legacyFrames;        // from idx1
    std::vector<FrameEntry> odmlFrames;          // from the standard indexes

    // The selected frame index: odmlFrames when the OpenDML index is complete, else legacyFrames.
    const std::vector<FrameEntry>& frames() const;
    // Sum of the sizes in the selected frame index.
    uint64_t totalBytes() const;
    // The entry holding stream byte p, or frames().end() when p lies before the first
    // or at or past the end of the data. Among entries starting at the same byte
    // the last is taken, so p never resolves to an empty chunk followed by data.
    std::vector<FrameEntry>::const_iterator findByBytePosition(uint64_t p) const;
};
