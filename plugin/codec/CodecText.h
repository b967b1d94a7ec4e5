// Texts of the records exchanged with the codec library, for error messages.
#pragma once

#include <string>

#include "codec/NorvikLibrary.h"

// "null", or "{0x<16 upper-case hex digits>,<size>}".
std::string bufferToText(const CodecBuffer* buffer);
// "null"; "{w,h,<name>(<word 2>)}" for the short form; for the nine-word form
// "{{w,h,<name>(254)},<version>,<type name>(<type>),<flags>,<space name>(<space>),<range>,<field>}".
std::string formatToText(const CodecFormat* format);
// "{{0x<addr>,<stride>,<size>},...}" for the four planes.
std::string planesToText(const CodecPlane planes[4]);
// "0x" followed by the address as 16 upper-case hexadecimal digits.
std::string addressToText(const void* address);
