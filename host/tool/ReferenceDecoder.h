// The codec library alone, without the importer: decodes compressed frames into a
// buffer laid out as a host frame of the same pixel format is (the host's row
// bytes and row order). The frame tools measure the importer against it and the
// tests compare the importer's frames with it.
//
// Owns one codec handle. Not thread-safe.
#pragma once

#include <cstdint>
#include <vector>

#include "FrameFormats.h"

namespace norvikimport {

class ReferenceDecoder {
public:
    // Begins a decompression of the stream described by its codec-private format
    // block into `format`, rows `rowBytes` apart, bottom row first when
    // `bottomUp`. Throws std::runtime_error with the library's text on failure.
    ReferenceDecoder(const std::vector<std::uint8_t>& streamFormat, const FrameFormat& format, std::int32_t width,
                     std::int32_t height, std::int64_t rowBytes, bool bottomUp);
    ~ReferenceDecoder();
    ReferenceDecoder(const ReferenceDecoder&) = delete;
    ReferenceDecoder& operator=(const ReferenceDecoder&) = delete;

    // Decodes one frame into the buffer; throws std::runtime_error when the library refuses it.
    void decode(const std::uint8_t* frame, std::uint32_t size);
    // The decoded picture, rows top to bottom, each `packedRowBytes` long.
    std::vector<std::uint8_t> picture(std::int64_t packedRowBytes) const;

private:
    std::uint32_t m_handle = 0;
    std::int32_t m_height;
    std::int64_t m_rowBytes;
    bool m_bottomUp;
    std::vector<std::uint8_t> m_storage;
    std::uint8_t* m_buffer = nullptr;  // 64-byte aligned start inside m_storage, as host frames start
};

}  // namespace norvikimport
