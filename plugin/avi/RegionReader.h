// Reads a region of a file as a run of fixed-size records, one bounded piece at a
// time: a region whose length field claims gigabytes costs one piece of memory,
// and only the records the file really holds are delivered.
//
// The region ends early where the file ends or a seek or read fails (the file
// layer reports both by its results; nothing is thrown for them). Allocation
// failures are thrown as std::bad_alloc.
//
// Not thread-safe; moves the file's position. Does not own the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "fileio/File.h"

namespace avi {

class RegionReader {
public:
    // Bytes read per piece, at most (rounded down to whole records).
    static constexpr size_t kPieceBytes = 64 * 1024;

    // The region [start, start + length) as records of recordSize bytes. With
    // zeroPadLast, a last record cut short (by the region's length or by the end of
    // the file) is delivered with zeros where bytes are missing; otherwise only
    // whole records are delivered.
    RegionReader(fileio::File& file, uint64_t start, uint64_t length, size_t recordSize, bool zeroPadLast = false);

    // The next record (recordSize readable bytes), or null when none is left.
    const uint8_t* next();
    // File position of the record next() returned last.
    uint64_t position() const { return m_piecePosition + m_at - m_recordSize; }

private:
    bool fill();

    fileio::File& m_file;
    uint64_t m_next;  // file position of the first byte not yet read
    uint64_t m_left;  // bytes of the region not yet read
    size_t m_recordSize;
    bool m_zeroPadLast;
    std::vector<uint8_t> m_piece;
    uint64_t m_piecePosition = 0;  // file position of m_piece[0]
    size_t m_filled = 0;           // bytes of m_piece holding records
    size_t m_at = 0;               // first byte of m_piece not yet delivered
};

}  // namespace avi
