// The 24-byte stream format block that describes a Norvik stream.
#pragma once

#include <cstddef>
#include <cstdint>

#include "Types.h"

namespace norvik {

struct StreamFormat {
    const CompressedType* type = nullptr;
    uint32_t colorSpace = 0;  // 1 or 2
    uint32_t range = 0;       // 1 or 2
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t fieldType = 0;
    uint32_t sliceHeight = 0;  // rows of the full-size planes per slice
    uint32_t sliceCount() const { return (height + sliceHeight - 1) / sliceHeight; }
};

inline constexpr size_t kStreamFormatSize = 24;
inline constexpr uint32_t kMaxDimension = 32768;

// Parses a block; returns false for anything that is not a valid block.
bool parseStreamFormat(const void* data, size_t size, StreamFormat& out);

// Checks the fields of `f` (type set, sizes possible for the type, slice height).
bool validStreamFormat(const StreamFormat& f);

// Writes the block for a valid `f` into out[0..23].
void writeStreamFormat(const StreamFormat& f, uint8_t* out);

// A slice height of about a sixteenth of the picture, even, at least 2 rows
// (or the whole height when that is 1).
uint32_t defaultSliceHeight(uint32_t height);

}  // namespace norvik
