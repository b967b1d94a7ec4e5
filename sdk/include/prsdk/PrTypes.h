// Basic types of the host's importer interface, with the Windows x64 sizes on
// every platform so that one declaration serves the Linux and Windows builds.
#pragma once

#include <cstdint>

#include "prsdk/FourCC.h"

namespace prsdk {

using int8 = std::int8_t;
using int16 = std::int16_t;
using int32 = std::int32_t;
using int64 = std::int64_t;
using uint8 = std::uint8_t;
using uint16 = std::uint16_t;
using uint32 = std::uint32_t;
using uint64 = std::uint64_t;

using prBool = int32;         // 1 = true
using PrTime = int64;         // host ticks
using PrAudioSample = int64;  // sample frames
using prUTF16Char = char16_t;
using PrPixelFormat = uint32;  // four characters, first one in the lowest byte
using prMALError = int32;      // importer result code
using imFileRef = void*;       // the Win32 HANDLE of an open file
using PPixHand = void*;        // an opaque host frame
using PrAudioChannelLabel = int32;

#pragma pack(push, 1)
struct prRect {
    int32 left;
    int32 top;
    int32 right;
    int32 bottom;
};
#pragma pack(pop)
static_assert(sizeof(prRect) == 16);

}  // namespace prsdk
