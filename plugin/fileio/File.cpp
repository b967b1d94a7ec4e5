#include "fileio/File.h"

#include <string>

namespace fileio {

uint64_t File::writeAt(const void* buffer, uint64_t count, int64_t offset) {
    const int64_t saved = tell();
    if (!seek(offset)) return 0;
    const uint64_t written = write(buffer, count);
    seek(saved);
    return written;
}

SeekError::SeekError(int64_t offset) : Error("Seek error: offset: " + std::to_string(offset)) {}

ReadError::ReadError(uint64_t size, uint64_t read)
    : Error("Read error: size: " + std::to_string(size) + ", read: " + std::to_string(read)) {}

void readExact(File& file, void* buffer, uint64_t count) {
    const uint64_t got = file.read(buffer, count);
    if (got != count) throw ReadError(count, got);
}

void seekTo(File& file, int64_t offset) {
    if (!file.seek(offset)) throw SeekError(offset);
}

}  // namespace fileio
