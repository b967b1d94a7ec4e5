// Frames shown to people: a frame's picture converted to RGB, with alpha when the
// format has it, in 8 bits per sample, or 16 for the formats deeper than 8 bits.
// YUV samples are converted with the matrix (Rec.601 or Rec.709) and the video
// range that the pixel format declares, in double precision, rounded to nearest.
#pragma once

#include <cstdint>
#include <vector>

#include "FrameFormats.h"

namespace norvikimport {

struct ViewImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    int channels = 3;                    // 3: RGB, 4: RGBA
    int bits = 8;                        // 8 or 16
    std::vector<std::uint16_t> samples;  // rows top to bottom, R G B (A) per pixel
};

// `picture` holds the frame's rows top to bottom without padding, as
// FrameStore::readTopRowFirst gives them.
ViewImage viewOf(const FrameFormat& format, std::int32_t width, std::int32_t height,
                 const std::vector<std::uint8_t>& picture);

}  // namespace norvikimport
