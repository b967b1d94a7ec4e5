// MD5 of a block of bytes as 32 lower-case hexadecimal digits, for framemd5-style
// listings. Nettle's MD5 on Linux, Windows' CNG (bcrypt) in the Windows build.
#pragma once

#include <cstddef>
#include <string>

namespace norvikimport {

std::string md5Hex(const void* data, std::size_t size);

// Bytes as lower-case hexadecimal digits.
inline std::string hexDigits(const unsigned char* bytes, std::size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < size; ++i) {
        hex += digits[bytes[i] >> 4];
        hex += digits[bytes[i] & 15];
    }
    return hex;
}

}  // namespace norvikimport
