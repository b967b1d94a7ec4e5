#include "ByteSink.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace aviwriter {
namespace {

constexpr size_t kBufferSize = 1 << 20;

}  // namespace

ByteSink::ByteSink(const std::string& path) : m_path(path) {
    if (!m_file.open(path.c_str(), fileio::Write | fileio::Read)) throw std::runtime_error("cannot create " + path);
    m_buffer.reserve(kBufferSize);
}

void ByteSink::flush() {
    if (m_buffer.empty()) return;
    if (!m_file.seek(static_cast<int64_t>(m_bufferStart)) ||
        m_file.write(m_buffer.data(), m_buffer.size()) != m_buffer.size())
        throw std::runtime_error("cannot write " + m_path);
    m_bufferStart += m_buffer.size();
    m_buffer.clear();
}

void ByteSink::put(const void* data, uint64_t size) {
    if (m_buffer.size() + size > kBufferSize) flush();
    if (size >= kBufferSize) {
        if (!m_file.seek(static_cast<int64_t>(m_bufferStart)) || m_file.write(data, size) != size)
            throw std::runtime_error("cannot write " + m_path);
        m_bufferStart += size;
    } else {
        const auto* bytes = static_cast<const uint8_t*>(data);
        m_buffer.insert(m_buffer.end(), bytes, bytes + size);
    }
    m_end = std::max(m_end, position());
}

void ByteSink::putU16(uint16_t v) {
    const uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
    put(b, 2);
}

void ByteSink::putU32(uint32_t v) {
    const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    put(b, 4);
}

void ByteSink::putU64(uint64_t v) {
    putU32(uint32_t(v));
    putU32(uint32_t(v >> 32));
}

void ByteSink::zeros(uint64_t size, bool sparse) {
    if (sparse) {
        flush();
        m_bufferStart += size;
        m_end = std::max(m_end, position());
        return;
    }
    static const std::vector<uint8_t> block(64 * 1024, 0);
    while (size > 0) {
        const uint64_t piece = std::min<uint64_t>(size, block.size());
        put(block.data(), piece);
        size -= piece;
    }
}

void ByteSink::patch(uint64_t offset, const void* data, uint64_t size) {
    if (offset >= m_bufferStart && offset + size <= position()) {
        std::memcpy(m_buffer.data() + (offset - m_bufferStart), data, size);
        return;
    }
    flush();
    if (m_file.writeAt(data, size, static_cast<int64_t>(offset)) != size)
        throw std::runtime_error("cannot write " + m_path);
}

void ByteSink::patchU32(uint64_t offset, uint32_t v) {
    const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    patch(offset, b, 4);
}

void ByteSink::close() {
    flush();
    if (m_file.size() < static_cast<int64_t>(m_end)) {
        // A trailing hole: write the last byte so the file has its full length.
        const uint8_t zero = 0;
        if (m_file.writeAt(&zero, 1, static_cast<int64_t>(m_end - 1)) != 1)
            throw std::runtime_error("cannot write " + m_path);
    }
    m_file.close();
}

}  // namespace aviwriter
