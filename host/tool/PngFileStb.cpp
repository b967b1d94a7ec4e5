#include <fstream>
#include <stdexcept>

#include "PngFile.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace norvikimport {

namespace {

void appendBytes(void* context, void* data, int size) {
    auto& out = *static_cast<std::vector<unsigned char>*>(context);
    out.insert(out.end(), static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
}

}  // namespace

bool pngWritesSixteenBits() { return false; }

void writePng(const std::filesystem::path& path, const ViewImage& image) {
    std::vector<unsigned char> bytes;
    bytes.reserve(image.samples.size());
    // A 16-bit sample v becomes the nearest 8-bit one, v / 257 rounded.
    for (std::uint16_t v : image.samples)
        bytes.push_back(static_cast<unsigned char>(image.bits == 16 ? (v + 128) / 257 : v));
    std::vector<unsigned char> png;
    if (!stbi_write_png_to_func(appendBytes, &png, image.width, image.height, image.channels, bytes.data(),
                                image.width * image.channels))
        throw std::runtime_error("stb cannot write the picture as PNG");
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace norvikimport
