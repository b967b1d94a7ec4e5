// Buffered output with a logical position, holes and in-place patching; the
// writer's only path to the file. Not thread-safe; owns its file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fileio/WinFile.h"

namespace aviwriter {

class ByteSink {
public:
    // Creates or truncates path; throws std::runtime_error when it cannot.
    explicit ByteSink(const std::string& path);

    uint64_t position() const { return m_bufferStart + m_buffer.size(); }
    void put(const void* data, uint64_t size);
    void putU16(uint16_t v);
    void putU32(uint32_t v);
    void putU64(uint64_t v);
    // Zero bytes: written, or left as a hole (seek past them) when sparse.
    void zeros(uint64_t size, bool sparse);
    // Overwrites bytes already written (or skipped) at an absolute offset.
    void patch(uint64_t offset, const void* data, uint64_t size);
    void patchU32(uint64_t offset, uint32_t v);
    // Flushes, makes the file as long as the furthest position and closes it.
    void close();

private:
    void flush();

    fileio::WinFile m_file;
    std::vector<uint8_t> m_buffer;
    uint64_t m_bufferStart = 0;  // file position of m_buffer[0]
    uint64_t m_end = 0;          // furthest position reached
    std::string m_path;
};

}  // namespace aviwriter
