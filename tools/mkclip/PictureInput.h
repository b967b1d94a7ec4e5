// Pictures read from a stream: YUV4MPEG2 as ffmpeg writes it (-f yuv4mpegpipe;
// 10-bit forms with -strict -1), or raw frames of a named layout (Layouts.h).
// Reading is picture by picture; only one picture is held at a time.
#pragma once

#include <memory>
#include <string>

#include "ClipMaker.h"

namespace clipmaker {

// Opens a picture stream: `path` is a file or "-" for standard input. With an
// empty `rawLayout` the stream is YUV4MPEG2 and its header gives size, rate,
// field order and range; otherwise it holds raw frames of that layout and the
// given size. Reads the header; throws std::runtime_error for an input that
// cannot be opened, a header that is not understood, or a layout that no
// compressed type holds exactly.
std::unique_ptr<PictureSource> openPictureInput(const std::string& path, const std::string& rawLayout,
                                                uint32_t width = 0, uint32_t height = 0);

// Which plan fields the user stated rather than left at their defaults.
struct Stated {
    bool type = false, size = false, rate = false, field = false, range = false;
};

// Makes the plan fit the pictures: their type and size, and their rate, field
// order and range where the input says them and the user did not. Throws
// std::runtime_error naming what would match when a stated type or size does not.
void fitPlanToInput(ClipPlan& plan, const PictureFormat& input, const Stated& stated);

}  // namespace clipmaker
