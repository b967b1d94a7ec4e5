#include "PngFile.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace norvikimport {

namespace {

// stb's zlib level for PNG data.
constexpr int kCompressionLevel = 8;

void appendBigEndian(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// One PNG chunk: length, type, data, and the CRC of type and data.
void appendChunk(std::vector<unsigned char>& png, const char* type, const unsigned char* data, std::size_t size) {
    appendBigEndian(png, std::uint32_t(size), 4);
    const std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data, data + size);
    appendBigEndian(png, stbiw__crc32(png.data() + start, int(size + 4)), 4);
}

// A 16-bit RGB or RGBA PNG: rows without filtering, compressed by stb's deflate.
std::vector<unsigned char> png16(const ViewImage& image) {
    std::vector<unsigned char> rows;
    std::size_t at = 0;
    for (std::int32_t y = 0; y < image.height; ++y) {
        rows.push_back(0);  // filter type: none
        for (std::int32_t i = 0; i < image.width * image.channels; ++i) appendBigEndian(rows, image.samples[at++], 2);
    }
    int compressedSize = 0;
    unsigned char* compressed = stbi_zlib_compress(rows.data(), int(rows.size()), &compressedSize, kCompressionLevel);
    if (!compressed) throw std::runtime_error("stb cannot compress the picture");
    std::vector<unsigned char> header;
    appendBigEndian(header, std::uint32_t(image.width), 4);
    appendBigEndian(header, std::uint32_t(image.height), 4);
    header.insert(header.end(), {16, static_cast<unsigned char>(image.channels == 4 ? 6 : 2), 0, 0, 0});
    std::vector<unsigned char> png = {137, 80, 78, 71, 13, 10, 26, 10};
    appendChunk(png, "IHDR", header.data(), header.size());
    appendChunk(png, "IDAT", compressed, std::size_t(compressedSize));
    appendChunk(png, "IEND", nullptr, 0);
    std::free(compressed);
    return png;
}

void appendBytes(void* context, void* data, int size) {
    auto& out = *static_cast<std::vector<unsigned char>*>(context);
    out.insert(out.end(), static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
}

std::vector<unsigned char> png8(const ViewImage& image) {
    const std::vector<unsigned char> bytes(image.samples.begin(), image.samples.end());
    std::vector<unsigned char> png;
    if (!stbi_write_png_to_func(appendBytes, &png, image.width, image.height, image.channels, bytes.data(),
                                image.width * image.channels))
        throw std::runtime_error("stb cannot write the picture as PNG");
    return png;
}

}  // namespace

void writePng(const std::filesystem::path& path, const ViewImage& image) {
    const std::vector<unsigned char> png = image.bits == 16 ? png16(image) : png8(image);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace norvikimport
