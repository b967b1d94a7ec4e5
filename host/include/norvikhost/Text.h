// Text helpers of the substitute host: UTF-16 to UTF-8, bounded C strings from
// fixed record fields, four-character codes and the names of result codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace norvikhost {

// UTF-16 to UTF-8. Reads up to maxUnits units or the first NUL; a null pointer
// gives "". Unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(const char16_t* text, std::size_t maxUnits);
std::string utf16ToUtf8(std::u16string_view text);

// UTF-8 to UTF-16 (used by tests to build host strings); invalid bytes become U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);

// A narrow string from a fixed-size field that may lack its NUL.
std::string boundedString(const char* field, std::size_t size);

// A file type or subtype code (first character in the most significant byte) as
// four characters, unprintable bytes as '.'.
std::string fourccText(std::uint32_t code);

// "0x41564956"
std::string hexText(std::uint32_t value);

// The host's name of an importer result ("imNoErr"), or "unknown".
const char* resultName(std::int32_t result);
// The host's name of an asynchronous importer's answer ("aiNoError"), or "unknown".
const char* asyncResultName(std::int32_t result);

}  // namespace norvikhost
