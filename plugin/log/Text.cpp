#include "log/Text.h"

#include "platform/Platform.h"

std::string toUtf8(std::u16string_view utf16) { return platform::toUtf8(utf16); }

std::u16string toWide(std::string_view utf8) { return platform::toWide(utf8); }
