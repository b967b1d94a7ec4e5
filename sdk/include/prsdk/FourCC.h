// Four-character codes, the one helper that builds them from their text. Shared by
// the host's declarations, the importer (RIFF chunk ids, pixel formats, file types)
// and the tools; it knows nothing of the host.
#pragma once

#include <cstdint>

// A four-character code whose four bytes, in memory order, are its characters: RIFF
// chunk ids and list types, and the host's pixel formats ("bgra" is 0x61726762).
using FourCC = uint32_t;

constexpr FourCC makeFourCC(const char* s) {
    return uint32_t(uint8_t(s[0])) | uint32_t(uint8_t(s[1])) << 8 | uint32_t(uint8_t(s[2])) << 16 |
           uint32_t(uint8_t(s[3])) << 24;
}

// The same characters with the first one in the most significant byte, as the host
// writes file types and subtypes ('AVIV' is 0x41564956).
constexpr uint32_t makeFourCCBigEndian(const char* s) {
    return uint32_t(uint8_t(s[0])) << 24 | uint32_t(uint8_t(s[1])) << 16 | uint32_t(uint8_t(s[2])) << 8 |
           uint32_t(uint8_t(s[3]));
}
