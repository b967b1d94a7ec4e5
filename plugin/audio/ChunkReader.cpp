#include "audio/ChunkReader.h"

#include <algorithm>
#include <cstdint>

#include "log/Log.h"

ChunkReader::ChunkReader(const AviStream& stream, fileio::File& file, uint64_t position)
    : m_file(file),
      m_entry(stream.findByBytePosition(position)),
      m_end(stream.frames().end()),
      m_position(position),
      m_total(stream.totalBytes()) {}

uint64_t ChunkReader::read(uint8_t* out, uint64_t count) {
    uint64_t done = 0;
    // The index's byteStart values are running sums of its sizes, so the next
    // entry always starts where the previous one ended.
    while (done < count && !finished()) {
        const uint64_t inChunk = m_position - m_entry->byteStart;
        const uint64_t n = std::min<uint64_t>(m_entry->size - inChunk, count - done);
        const uint64_t filePos = m_entry->offset + inChunk;
        logMessage("reading : %lld, %lld, %lld", static_cast<long long>(m_position), static_cast<long long>(filePos),
                   static_cast<long long>(n));
        // An offset past INT64_MAX is no position in any file: the seek fails.
        if (filePos > uint64_t(INT64_MAX) || !m_file.seek(static_cast<int64_t>(filePos))) {
            logMessage("importAudio: seek error: %lld, pos: %lld", static_cast<long long>(filePos),
                       static_cast<long long>(m_file.tell()));
            finish();
            break;
        }
        const uint64_t got = m_file.read(out + done, n);
        done += got;
        m_position += got;
        if (got < n) {
            logMessage("importAudio: read error: %lld, read: %lld", static_cast<long long>(n),
                       static_cast<long long>(got));
            finish();
            break;
        }
        if (m_position == m_entry->byteStart + m_entry->size) ++m_entry;
    }
    return done;
}
