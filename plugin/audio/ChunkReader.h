// Reads a stream's bytes from a stream-relative byte position on, chunk after
// chunk of its selected frame index, logging each read. A failed seek or a short
// read ends the reading for good: the caller makes the rest silence.
//
// Holds references to the stream and the file; both must outlive it. Not thread-safe.
#pragma once

#include <cstdint>
#include <vector>

#include "avi/AviStream.h"
#include "fileio/File.h"

class ChunkReader {
public:
    // Starts at the chunk holding `position`; at a position outside the data
    // (or one beyond 64 bits: pass UINT64_MAX) there is nothing to read.
    ChunkReader(const AviStream& stream, fileio::File& file, uint64_t position);

    // Reads up to `count` bytes into `out`; returns the bytes read, fewer when the
    // data ends or a seek or read fails.
    uint64_t read(uint8_t* out, uint64_t count);

    bool finished() const { return m_entry == m_end; }
    // Bytes the index still lists from the current position (0 when finished).
    uint64_t remaining() const { return finished() ? 0 : m_total - m_position; }

private:
    void finish() { m_entry = m_end; }

    fileio::File& m_file;
    std::vector<FrameEntry>::const_iterator m_entry;
    std::vector<FrameEntry>::const_iterator m_end;
    uint64_t m_position;  // stream byte of the next read
    uint64_t m_total;     // the stream's byte count by its index
};
