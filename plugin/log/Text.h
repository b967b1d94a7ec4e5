// Whole-string text conversions shared by the importer (UTF-8 code page 65001).
// An empty input gives an empty output.
#pragma once

#include <string>
#include <string_view>

std::string toUtf8(std::u16string_view utf16);
std::u16string toWide(std::string_view utf8);
