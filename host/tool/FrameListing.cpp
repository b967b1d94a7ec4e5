#include "FrameListing.h"

#include <cinttypes>
#include <cstdio>

#include "Md5.h"
#include "norvikhost/PixelFormatNames.h"

namespace norvikimport {

std::string frameMd5Header(const norvikhost::ClipVideo& video, prsdk::PrPixelFormat format) {
    const std::string rate = std::to_string(video.rateDenominator) + "/" + std::to_string(video.rateNumerator);
    return "#format: frame checksums\n#version: 2\n#hash: MD5\n#tb 0: " + rate +
           "\n#media_type 0: video\n#codec_id 0: rawvideo\n#dimensions 0: " + std::to_string(video.width) + "x" +
           std::to_string(video.height) + "\n#pixel_format 0: " + norvikhost::pixelFormatText(format) +
           "\n#sar 0: 1/1\n#stream#, dts,        pts, duration,     size, hash\n";
}

std::string frameMd5Line(std::int64_t index, const std::vector<std::uint8_t>& picture) {
    char line[128];
    int n = std::snprintf(line, sizeof line, "0, %10" PRId64 ", %10" PRId64 ", %8d, %8" PRIu64 ", ", index, index, 1,
                          std::uint64_t(picture.size()));
    return std::string(line, std::size_t(n)) + md5Hex(picture.data(), picture.size()) + "\n";
}

}  // namespace norvikimport
