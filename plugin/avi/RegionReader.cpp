#include "avi/RegionReader.h"

#include <algorithm>
#include <limits>

namespace avi {

RegionReader::RegionReader(fileio::File& file, uint64_t start, uint64_t length, size_t recordSize, bool zeroPadLast)
    : m_file(file), m_next(start), m_left(length), m_recordSize(recordSize), m_zeroPadLast(zeroPadLast) {}

const uint8_t* RegionReader::next() {
    if (m_at + m_recordSize > m_filled && !fill()) return nullptr;
    const uint8_t* record = m_piece.data() + m_at;
    m_at += m_recordSize;
    return record;
}

bool RegionReader::fill() {
    if (m_left == 0 || m_next > uint64_t(std::numeric_limits<int64_t>::max())) return false;
    const size_t capacity = std::max(kPieceBytes / m_recordSize, size_t(1)) * m_recordSize;
    const size_t want = static_cast<size_t>(std::min<uint64_t>(m_left, capacity));
    // Sized by what this piece needs (whole records), never by the region's length.
    const size_t room = (want + m_recordSize - 1) / m_recordSize * m_recordSize;
    if (m_piece.size() < room) m_piece.resize(room);
    uint64_t got = 0;
    if (m_file.seek(static_cast<int64_t>(m_next))) got = m_file.read(m_piece.data(), want);
    m_piecePosition = m_next;
    m_next += got;
    // A short read is the end of the file (or a failing device): the region ends here.
    m_left = got < want ? 0 : m_left - got;
    m_at = 0;
    m_filled = static_cast<size_t>(got) / m_recordSize * m_recordSize;
    const size_t tail = static_cast<size_t>(got) - m_filled;
    if (m_left == 0 && tail != 0 && m_zeroPadLast) {
        std::fill(m_piece.begin() + static_cast<std::ptrdiff_t>(got),
                  m_piece.begin() + static_cast<std::ptrdiff_t>(m_filled + m_recordSize), uint8_t(0));
        m_filled += m_recordSize;
    }
    return m_filled != 0;
}

}  // namespace avi
