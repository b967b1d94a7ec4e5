// What the host knows about each pixel format: whether it is compressed, has
// alpha, is stored top row first by default, and how many bytes its rows take.
#pragma once

#include <cstdint>

#include "prsdk/PrSDK.h"

namespace norvikhost {

// Rows of host frames start on this many bytes (see hostRowBytes); frame
// buffers start on kBufferAlignment.
constexpr std::int64_t kRowAlignment = 32;
constexpr std::int64_t kBufferAlignment = 64;

bool isKnownPixelFormat(prsdk::PrPixelFormat format);
bool pixelFormatIsCompressed(prsdk::PrPixelFormat format);
bool pixelFormatHasAlpha(prsdk::PrPixelFormat format);
// The host's default answer: false for packed 4:4:4(:4) formats (stored bottom
// row first), true for packed 4:2:2, planar 4:2:0 and the rest.
bool pixelFormatDefaultTopLeft(prsdk::PrPixelFormat format);
bool pixelFormatIsPlanar(prsdk::PrPixelFormat format);

// Bytes of one row of `width` pixels without padding (for planar formats: the
// luma row). 0 for compressed, special or unknown formats and widths < 1.
std::int64_t packedRowBytes(prsdk::PrPixelFormat format, std::int32_t width);

// The host's row bytes for a frame of this width: the smallest multiple of
// kRowAlignment (128 for v210) above the packed row, so every row is padded and,
// once the packed row is longer than the alignment, the row bytes are no multiple
// of it. 0 when the format has no row layout.
std::int64_t hostRowBytes(prsdk::PrPixelFormat format, std::int32_t width);

// Bytes of a whole frame (planar 4:2:0: luma plane plus two chroma planes of
// half the row bytes and half the rows, rounded up). 0 when there is no layout.
std::int64_t frameBufferSize(prsdk::PrPixelFormat format, std::int32_t width, std::int32_t height);

}  // namespace norvikhost
