// Little-endian numbers from a byte span, bounds-checked: a field that does not lie
// wholly inside the span reads as 0, the value a zero-filled buffer would give.
#pragma once

#include <cstddef>
#include <cstdint>

namespace avi {

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool has(size_t at, size_t count) const { return at <= m_size && count <= m_size - at; }
    uint8_t u8(size_t at) const { return has(at, 1) ? m_data[at] : 0; }
    uint16_t u16(size_t at) const { return static_cast<uint16_t>(le(at, 2)); }
    uint32_t u32(size_t at) const { return static_cast<uint32_t>(le(at, 4)); }
    uint64_t u64(size_t at) const { return le(at, 8); }

private:
    uint64_t le(size_t at, size_t count) const {
        if (!has(at, count)) return 0;
        uint64_t v = 0;
        for (size_t i = 0; i < count; ++i) v |= uint64_t(m_data[at + i]) << (8 * i);
        return v;
    }

    const uint8_t* m_data;
    size_t m_size;
};

}  // namespace avi
