#include "ByteSource.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace repair {

FileSource::FileSource(const std::string& utf8Path) {
    if (!m_file.open(utf8Path.c_str(), fileio::Read | fileio::ShareRead))
        throw std::runtime_error("cannot open " + utf8Path);
    const int64_t size = m_file.size();
    if (size < 0) throw std::runtime_error("cannot get the size of " + utf8Path);
    m_size = static_cast<uint64_t>(size);
}

size_t FileSource::read(uint64_t offset, void* buffer, size_t count) {
    if (offset >= m_size || !m_file.seek(static_cast<int64_t>(offset))) return 0;
    return static_cast<size_t>(m_file.read(buffer, count));
}

size_t MemorySource::read(uint64_t offset, void* buffer, size_t count) {
    if (offset >= m_size) return 0;
    const size_t n = static_cast<size_t>(std::min<uint64_t>(count, m_size - offset));
    if (n != 0) std::memcpy(buffer, m_data + offset, n);
    return n;
}

}  // namespace repair
