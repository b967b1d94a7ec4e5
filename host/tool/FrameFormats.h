// The pixel formats a Norvik clip can be delivered in, as the host sees them:
// how their samples lie in memory, what they mean (colour matrix, range, depth),
// and which output of the codec library fills them. The frame tools use this to
// decode reference frames with the codec library alone and to show frames as
// pictures; it is the host's own knowledge, kept apart from the importer's.
#pragma once

#include <cstdint>
#include <string>

#include "prsdk/PrSDK.h"

namespace norvikimport {

// Sample layouts, per pixel or group, in memory order.
enum class Packing {
    Yuyv,    // Y0 U Y1 V bytes per pixel pair
    Uyvy,    // U Y0 V Y1
    Vuya,    // V U Y A bytes
    Vuyx,    // V U Y X
    Bgra,    // B G R A bytes
    Argb,    // A R G B
    Bgrx,    // B G R X
    Xrgb,    // X R G B
    V210,    // six 10-bit 4:2:2 pixels in four little-endian 32-bit words
    Rgb10,   // one little-endian word: B bits 0..9, G 10..19, R 20..29
    Bgra16,  // B G R A 16-bit words, full scale 32768
    Bgrx16,  // B G R X 16-bit words, full scale 32768
};

struct FrameFormat {
    prsdk::PrPixelFormat pixelFormat;
    Packing packing;
    std::uint32_t codecType;   // the codec library's output type
    std::uint32_t colorSpace;  // 1 Rec.601, 2 Rec.709 (the YUV matrix; RGB formats say 2)
    bool limitedRange;         // YUV formats: video range

    bool isYuv() const { return limitedRange; }
    bool hasAlpha() const {
        return packing == Packing::Vuya || packing == Packing::Bgra || packing == Packing::Argb ||
               packing == Packing::Bgra16;
    }
    bool deep() const {
        return packing == Packing::V210 || packing == Packing::Rgb10 || packing == Packing::Bgra16 ||
               packing == Packing::Bgrx16;
    }
    bool range32768() const { return packing == Packing::Bgra16 || packing == Packing::Bgrx16; }
};

// The row for a pixel format, or null when a Norvik clip is never delivered in it.
const FrameFormat* findFrameFormat(prsdk::PrPixelFormat pixelFormat);

// A pixel format from its four characters in memory order ("yuy2", "bgra", "v210");
// throws std::invalid_argument when the text is not four characters.
prsdk::PrPixelFormat pixelFormatFromCode(const std::string& code);

}  // namespace norvikimport
