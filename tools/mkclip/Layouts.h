// The picture layouts the clip maker reads, named as ffmpeg names pixel formats,
// and the compressed type that holds each exactly (same sampling and depth).
#pragma once

#include <cstdint>
#include <string>

namespace clipmaker {

struct RawLayout {
    const char* name;  // ffmpeg's pixel format name, e.g. "yuv422p10le"
    uint32_t type;     // the compressed type of the same sampling and depth
    // The encoder's source type: `type` itself for planes in coding order (G, B, R
    // for RGB, as ffmpeg's gbr formats), or a packed output type of the codec.
    uint32_t source;
    int range;  // 2 for ffmpeg's full-range "j" formats; 0 when the layout does not say
};

// Null when `name` is none of the layouts read.
const RawLayout* findRawLayout(const std::string& name);
// The layout of a YUV4MPEG2 colour tag ("420jpeg", "422", "mono10", ...); null
// when no compressed type holds it.
const RawLayout* findY4mLayout(const std::string& tag);
// The planar layout whose planes are those of a compressed type ("yuv420p" for
// 105); null for a number that is not a compressed type.
const RawLayout* planarLayoutOf(uint32_t type);

// The names read, comma-separated, for messages.
std::string rawLayoutNames();
std::string y4mTagNames();

// "-t 105 (Norvik YUV 4:2:0 8-bit)"
std::string typeOption(uint32_t type);

}  // namespace clipmaker
