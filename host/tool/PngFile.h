// Writing a ViewImage as a PNG file with stb_image_write (Debian's libstb-dev):
// 8-bit images through its PNG writer; 16-bit images, which that writer does not
// take, as PNG chunks around its zlib compressor and checksum.
#pragma once

#include <filesystem>

#include "PictureView.h"

namespace norvikimport {

// Throws std::runtime_error when the file cannot be written.
void writePng(const std::filesystem::path& path, const ViewImage& image);

}  // namespace norvikimport
