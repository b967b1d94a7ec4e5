// Writing a ViewImage as a PNG file with a library: libpng where the build has it
// (the Linux build), which writes 8- and 16-bit images as they are; otherwise
// stb_image_write (header-only, so the Windows build has it too), which writes 8
// bits only: there a 16-bit image is written in 8 bits, each sample rounded.
#pragma once

#include <filesystem>

#include "PictureView.h"

namespace norvikimport {

// Whether this build writes 16-bit images in 16 bits.
bool pngWritesSixteenBits();

// Throws std::runtime_error when the file cannot be written.
void writePng(const std::filesystem::path& path, const ViewImage& image);

}  // namespace norvikimport
