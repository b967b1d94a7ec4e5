// Bit reading and writing for the Rice-coded residuals: bits are packed least
// significant bit first, a field of several bits least significant bit first.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "ByteBuffer.h"

namespace norvik {

static_assert(std::endian::native == std::endian::little, "the bit reader loads little-endian words");

inline constexpr unsigned kEscapeZeros = 24;

// Reads from [data, data + size). Past the end it reads zero bits and remembers
// that it did; overrun() tells whether more bits were taken than the block holds.
// Never touches memory outside the block.
class BitReader {
public:
    BitReader() = default;
    BitReader(const uint8_t* data, size_t size)
        : m_data(data), m_size(size), m_fastEnd(size >= 8 ? size - 7 : 0) {}

    // Reads one Rice-coded value with parameter k for n-bit samples. A code with
    // more than 24 leading zeros marks the reader bad and yields 0. `Isa` is a tag
    // type local to the calling file: files built for different instruction sets
    // then get their own copies, and the linker cannot mix them.
    template <class Isa>
    uint32_t readRice(unsigned k, unsigned n) {
        refill<Isa>();
        const uint64_t b = m_bits;
        // The sentinel bit keeps the count defined; more than 24 zeros is bad.
        const unsigned q = static_cast<unsigned>(std::countr_zero(b | (uint64_t{1} << 63)));
        if (q < kEscapeZeros) [[likely]] {
            const uint32_t low = static_cast<uint32_t>(b >> (q + 1)) & ((1u << k) - 1u);
            consume<Isa>(q + 1 + k);
            return (q << k) | low;
        }
        if (q > kEscapeZeros) {
            m_bad = true;
            consume<Isa>(25);
            return 0;
        }
        const uint32_t z = static_cast<uint32_t>(b >> 25) & ((1u << n) - 1u);
        consume<Isa>(25 + n);
        return z;
    }

    // Reads one Rice-coded value as readRice does and returns its residual (the
    // zigzag mapping undone), looking short codes up in `table` (riceTable(k)).
    template <class Isa>
    int32_t readResidual(const int32_t* table, unsigned k, unsigned n) {
        refill<Isa>();
        const int32_t entry = table[m_bits & ((uint64_t{1} << kTableBits) - 1u)];
        if (entry & 0xff) [[likely]] {
            consume<Isa>(static_cast<unsigned>(entry & 0xff));
            return entry >> 8;
        }
        const uint32_t z = readRice<Isa>(k, n);
        return static_cast<int32_t>(z >> 1) ^ -static_cast<int32_t>(z & 1u);
    }

    // Tops the buffer up to at least 56 bits, without asking first whether it
    // must (a branch that goes one way every third code or so, which the
    // processor cannot guess). Then readBuffered may be called four times.
    template <class Isa>
    void topUp() {
        if (m_pos < m_fastEnd) [[likely]] {
            // The bits above m_count are the stream's next bits already (an
            // earlier word put them there) or zero: or-ing over them changes nothing.
            uint64_t w;
            std::memcpy(&w, m_data + m_pos, 8);
            m_bits |= w << m_count;
            m_pos += (63 - m_count) >> 3;
            m_count |= 56;
            return;
        }
        while (m_count <= 56) {
            const uint64_t byte = m_pos < m_size ? m_data[m_pos] : 0;
            m_bits |= byte << m_count;
            ++m_pos;
            m_count += 8;
        }
    }

    // readResidual without its refill: at least kTableBits must be buffered. A
    // short code takes at most kTableBits; after a long one at least 56 bits are
    // buffered again.
    template <class Isa>
    int32_t readBuffered(const int32_t* table, unsigned k, unsigned n) {
        const int32_t entry = table[m_bits & ((uint64_t{1} << kTableBits) - 1u)];
        if (entry & 0xff) [[likely]] {
            consume<Isa>(static_cast<unsigned>(entry & 0xff));
            return entry >> 8;
        }
        const uint32_t z = readRice<Isa>(k, n);
        topUp<Isa>();
        return static_cast<int32_t>(z >> 1) ^ -static_cast<int32_t>(z & 1u);
    }

    // The number of bits readResidual's table is indexed by (RiceTable.h).
    static constexpr unsigned kTableBits = 11;
    static_assert(56 - 3 * kTableBits >= kTableBits, "four short codes after each topUp");

    // True when the reader met a bad code or ran past the end of its block.
    bool failed() const { return m_bad || consumedBits() > static_cast<uint64_t>(m_size) * 8; }

private:
    uint64_t consumedBits() const { return static_cast<uint64_t>(m_pos) * 8 - m_count; }

    template <class Isa>
    void consume(unsigned n) {
        m_bits >>= n;
        m_count -= n;
    }

    // Afterwards at least 40 bits are buffered, 56 when it had to load.
    template <class Isa>
    void refill() {
        if (m_count >= 40) [[likely]]
            return;
        topUp<Isa>();
    }

    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    size_t m_fastEnd = 0;  // positions below it can load 8 bytes
    size_t m_pos = 0;      // next byte to load (may pass m_size: zero bits)
    uint64_t m_bits = 0;   // buffered bits, next bit in bit 0
    unsigned m_count = 0;  // number of valid buffered bits
    bool m_bad = false;
};

// Appends bits to a byte buffer whose final size the caller knows: the vector
// grows once by that many bytes (plus 8 of slack for whole-word stores), and
// finish() trims it to the bytes written.
class BitWriter {
public:
    BitWriter(ByteBuffer& out, size_t maxBytes) : m_out(out), m_at(out.size()) {
        out.resize(m_at + maxBytes + 8);
    }

    // The writer's state as a loop keeps it, in locals (stores through the byte
    // pointer could alias the writer's members, which would keep them in
    // memory). `Isa` is a tag type local to the calling file (see
    // BitReader::readRice). Take it with cursor(), give it back with commit().
    template <class Isa>
    struct Cursor {
        uint8_t* out;
        uint64_t buffered;
        unsigned used;  // bits waiting in `buffered`, at most 7 between calls
        size_t at;      // next byte to write

        // Appends a code of at most 56 bits (or two codes joined): with at most 7
        // bits waiting it fits, and at most 7 bytes are whole afterwards.
        void put(uint64_t code, unsigned length) {
            buffered |= code << used;
            used += length;
            std::memcpy(out + at, &buffered, 8);
            const unsigned whole = used >> 3;
            at += whole;
            buffered >>= 8 * whole;
            used &= 7;
        }
    };
    template <class Isa>
    Cursor<Isa> cursor() {
        return {m_out.data(), m_bits, m_count, m_at};
    }
    template <class Isa>
    void commit(const Cursor<Isa>& c) {
        m_bits = c.buffered;
        m_count = c.used;
        m_at = c.at;
    }

    // The Rice code of `value` with parameter k for n-bit samples (lowMask =
    // 2^k - 1), its first bit in bit 0, and its length (at most 25 + n).
    template <class Isa>
    static uint64_t riceCode(uint32_t value, unsigned k, unsigned n, uint32_t lowMask, unsigned& length) {
        const uint32_t q = value >> k;
        if (q < kEscapeZeros) [[likely]] {
            length = q + 1 + k;
            return (uint64_t{1} << q) | (static_cast<uint64_t>(value & lowMask) << (q + 1));
        }
        length = 25 + n;
        return (uint64_t{1} << kEscapeZeros) | (static_cast<uint64_t>(value) << 25);
    }

    // Writes the Rice codes of z[0..count) with parameter k for n-bit samples.
    // Two short codes are joined before they go in: the serial chain (the bit
    // count and the buffer) then advances once per two codes.
    template <class Isa>
    void writeRices(const uint16_t* z, size_t count, unsigned k, unsigned n) {
        Cursor<Isa> c = cursor<Isa>();
        const uint32_t lowMask = (1u << k) - 1u;
        size_t i = 0;
        for (; i + 2 <= count; i += 2) {
            unsigned first = 0, second = 0;
            const uint64_t a = riceCode<Isa>(z[i], k, n, lowMask, first);
            const uint64_t b = riceCode<Isa>(z[i + 1], k, n, lowMask, second);
            if (first + second <= 56) [[likely]] {
                c.put(a | b << first, first + second);
            } else {
                c.put(a, first);
                c.put(b, second);
            }
        }
        for (; i < count; ++i) {
            unsigned length = 0;
            const uint64_t code = riceCode<Isa>(z[i], k, n, lowMask, length);
            c.put(code, length);
        }
        commit(c);
    }

    // Pads with zero bits to a whole byte, writes out what is buffered and trims
    // the vector.
    void finish() {
        if (m_count > 0) m_out[m_at++] = static_cast<uint8_t>(m_bits);
        m_bits = 0;
        m_count = 0;
        m_out.resize(m_at);
    }

private:
    ByteBuffer& m_out;
    size_t m_at;  // next byte to write
    uint64_t m_bits = 0;
    unsigned m_count = 0;
};

// Residual mapping shared by encoder and decoder.
inline uint32_t zigzag(int32_t e) {
    return e >= 0 ? static_cast<uint32_t>(e) * 2u : static_cast<uint32_t>(-e) * 2u - 1u;
}
inline int32_t unzigzag(uint32_t z) { return static_cast<int32_t>(z >> 1) ^ -static_cast<int32_t>(z & 1u); }

}  // namespace norvik
