#include "ReferenceDecoder.h"

#include <cstring>
#include <stdexcept>
#include <string>

#include "norvik/norvik_common.h"
#include "norvikhost/Platform.h"

namespace norvikimport {

namespace {

constexpr std::uintptr_t kAlignment = 64;

void check(std::int32_t result, const char* call) {
    if (result != NORVIK_OK)
        throw std::runtime_error(std::string(call) + ": " + norvik_get_string(NORVIK_STR_ERROR, result));
}

}  // namespace

ReferenceDecoder::ReferenceDecoder(const std::vector<std::uint8_t>& streamFormat, const FrameFormat& format,
                                   std::int32_t width, std::int32_t height, std::int64_t rowBytes, bool bottomUp)
    : m_height(height), m_rowBytes(rowBytes), m_bottomUp(bottomUp) {
    if (width < 1 || height < 1 || rowBytes < 1) throw std::runtime_error("reference decoder: empty picture");
    norvikhost::requireLibrary(norvikhost::codecLibraryFileName());  // loaded at first use (delay-loaded on Windows)
    m_storage.resize(std::size_t(rowBytes) * std::size_t(height) + kAlignment);
    const auto address = reinterpret_cast<std::uintptr_t>(m_storage.data());
    m_buffer = m_storage.data() + (kAlignment - address % kAlignment) % kAlignment;
    norvik_library_init();
    if (norvik_open(&m_handle) != NORVIK_OK) {
        norvik_library_close();
        throw std::runtime_error("reference decoder: norvik_open failed");
    }
    const std::uint32_t flags =
        (bottomUp ? NORVIK_FLAG_BOTTOM_UP : 0) | (format.range32768() ? NORVIK_FLAG_RANGE_32768 : 0);
    const CodecFormat wanted{0,
                             0,
                             NORVIK_FORM_EXTENDED,
                             NORVIK_FORM_VERSION,
                             format.codecType,
                             flags,
                             format.colorSpace,
                             format.limitedRange ? 1u : 2u,
                             0};
    CodecFormat filled{0, 0, NORVIK_FORM_EXTENDED, NORVIK_FORM_VERSION, 0, 0, 0, 0, 0};
    try {
        check(norvik_decompress_begin(m_handle, streamFormat.data(), std::uint32_t(streamFormat.size()), &wanted,
                                      &filled),
              "norvik_decompress_begin");
    } catch (...) {
        norvik_close(m_handle);
        norvik_library_close();
        throw;
    }
}

ReferenceDecoder::~ReferenceDecoder() {
    norvik_close(m_handle);  // ends the decompression too
    norvik_library_close();
}

void ReferenceDecoder::decode(const std::uint8_t* frame, std::uint32_t size) {
    CodecPlane planes[4] = {};
    planes[0] = {reinterpret_cast<std::uintptr_t>(m_buffer), std::uint32_t(m_rowBytes),
                 std::uint32_t(m_rowBytes * m_height)};
    check(norvik_decompress(m_handle, frame, size, planes), "norvik_decompress");
}

std::vector<std::uint8_t> ReferenceDecoder::picture(std::int64_t packedRowBytes) const {
    const auto length = std::size_t(packedRowBytes);
    std::vector<std::uint8_t> out(length * std::size_t(m_height));
    for (std::int32_t y = 0; y < m_height; ++y) {
        const std::int32_t row = m_bottomUp ? m_height - 1 - y : y;
        std::memcpy(out.data() + length * std::size_t(y), m_buffer + std::size_t(row) * std::size_t(m_rowBytes),
                    length);
    }
    return out;
}

}  // namespace norvikimport
