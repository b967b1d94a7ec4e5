// Whether a compressed Norvik frame is whole in its structure: its header, slice
// table and every slice-plane (header and payload) lie inside the chunk, and its
// slice and plane counts are those of the stream (norvik/FORMAT.md, "Frame").
// This is what the repair can check without decoding; a frame that passes may
// still hold damaged payload bits (the codec finds those when it decodes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace repair {

struct FrameLayout {
    uint32_t slices = 0;  // ceil(height / slice height)
    uint32_t planes = 0;  // coded planes of the compressed type
};

// The layout the stream's format chunk (a 40-byte bitmap header and the 24-byte
// Norvik block) gives its frames; none when the chunk holds no valid Norvik block.
std::optional<FrameLayout> frameLayout(const std::vector<uint8_t>& formatChunk);

// Empty when the frame is sound, else why it is not ("slice table runs past the
// frame", ...). An empty chunk (size 0) is sound: it repeats its neighbour.
std::string frameFault(const uint8_t* frame, size_t size, const FrameLayout& layout);

}  // namespace repair
