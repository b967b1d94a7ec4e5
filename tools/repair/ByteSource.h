// Random-access bytes the scanner and the repair read: a file on disk, or a buffer
// (the fuzz target and tests). Reads never throw; a short count means the end of
// the bytes or a read failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fileio/WinFile.h"

namespace repair {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t size() const = 0;
    // Reads up to count bytes at offset; returns the bytes read.
    virtual size_t read(uint64_t offset, void* buffer, size_t count) = 0;
};

// A file opened for reading only. Owns its handle; not thread-safe.
class FileSource : public ByteSource {
public:
    // Throws std::runtime_error when the file cannot be opened or sized.
    explicit FileSource(const std::string& utf8Path);
    uint64_t size() const override { return m_size; }
    size_t read(uint64_t offset, void* buffer, size_t count) override;

private:
    fileio::WinFile m_file;
    uint64_t m_size = 0;
};

// Bytes held by the caller; does not own them.
class MemorySource : public ByteSource {
public:
    MemorySource(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    uint64_t size() const override { return m_size; }
    size_t read(uint64_t offset, void* buffer, size_t count) override;

private:
    const uint8_t* m_data;
    size_t m_size;
};

}  // namespace repair
