// Frame checksums in the layout of ffmpeg's framemd5 output, so that listings can
// be diffed between machines, builds and versions: a few lines starting with '#',
// then one line per frame, "0, N, N, 1, SIZE, MD5" with ffmpeg's column widths.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "norvikhost/FrameSession.h"

namespace norvikimport {

// The '#' lines: format, version, hash, time base, media type, codec, size,
// pixel format, aspect and the column names.
std::string frameMd5Header(const norvikhost::ClipVideo& video, prsdk::PrPixelFormat format);

// The line of frame `index` whose bytes (rows top to bottom, no padding) are `picture`.
std::string frameMd5Line(std::int64_t index, const std::vector<std::uint8_t>& picture);

}  // namespace norvikimport
