#include <cstdio>
#include <memory>
#include <png.h>
#include <stdexcept>
#include <vector>

#include "PngFile.h"

namespace norvikimport {

namespace {

// The image's rows as PNG stores them: 8-bit samples as bytes, 16-bit ones big-endian.
std::vector<unsigned char> pngRows(const ViewImage& image) {
    std::vector<unsigned char> rows;
    rows.reserve(image.samples.size() * std::size_t(image.bits / 8));
    for (std::uint16_t v : image.samples) {
        if (image.bits == 16) rows.push_back(static_cast<unsigned char>(v >> 8));
        rows.push_back(static_cast<unsigned char>(v));
    }
    return rows;
}

constexpr std::size_t kMessageSize = 200;

// libpng's error callback must not return: it keeps the message and jumps back
// to the setjmp in encode().
[[noreturn]] void onError(png_structp png, png_const_charp message) {
    std::snprintf(static_cast<char*>(png_get_error_ptr(png)), kMessageSize, "%s", message);
    png_longjmp(png, 1);
}

// Dropped: libpng warns about ancillary chunks and colour profiles, which these
// files do not have.
void onWarning(png_structp, png_const_charp) {}

void writeImage(png_structp png, png_infop info, const ViewImage& image, const unsigned char* rows) {
    png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), image.bits,
                 image.channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::size_t rowBytes = std::size_t(image.width) * std::size_t(image.channels) * std::size_t(image.bits / 8);
    for (std::int32_t y = 0; y < image.height; ++y) png_write_row(png, rows + rowBytes * std::size_t(y));
    png_write_end(png, nullptr);
}

// Writes the image into `file`; false with libpng's message in `message` when it
// fails. libpng's longjmp back into this frame skips only libpng's own C frames,
// and nothing here changes between the setjmp and a jump.
bool encode(std::FILE* file, const ViewImage& image, const unsigned char* rows, char* message) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, message, onError, onWarning);
    png_infop info = png_create_info_struct(png);  // null when png is
    if (!info) {
        std::snprintf(message, kMessageSize, "libpng cannot start");
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    writeImage(png, info, image, rows);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool pngWritesSixteenBits() { return true; }

void writePng(const std::filesystem::path& path, const ViewImage& image) {
    const std::vector<unsigned char> rows = pngRows(image);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file) throw std::runtime_error("cannot create " + path.string());
    char message[kMessageSize] = "";
    const bool written = encode(file.get(), image, rows.data(), message);
    if (!written || std::fclose(file.release()) != 0) {
        std::error_code ignored;  // the error below says what went wrong; a file left behind is a lesser matter
        std::filesystem::remove(path, ignored);
        throw std::runtime_error("cannot write " + path.string() + (*message ? std::string(": ") + message : ""));
    }
}

}  // namespace norvikimport
