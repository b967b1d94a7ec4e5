#include "streams/VideoInfo.h"

#include <cstring>
#include <exception>

#include "log/Log.h"
#include "log/Names.h"
#include "prsdk/PrSDK.h"
#include "streams/FrameRate.h"

using namespace prsdk;

namespace {

// Size of the bitmap header that precedes the codec-private bytes in a video format chunk.
constexpr int32_t kBitmapHeaderSize = 40;

}  // namespace

VideoInfo::VideoInfo() { logMessage("VideoInfo::VideoInfo()"); }

VideoInfo::~VideoInfo() { logMessage("VideoInfo::~VideoInfo()"); }

int32_t VideoInfo::init(const AviStream& videoStream, NorvikCodec& codec) {
    stream = &videoStream;
    const int32_t privateSize = static_cast<int32_t>(videoStream.format.size()) - kBitmapHeaderSize;
    if (privateSize <= 0) {
        logMessage("Compressed format size is invalid");
        return imBadFile;
    }
    formatBytes.assign(videoStream.format.begin() + kBitmapHeaderSize, videoStream.format.end());

    try {
        CodecFormat filled = emptyCodecFormat();
        codec.decompressQuery(compressedData(), nullptr, filled);
        compressedFormat = filled;
    } catch (const std::exception& e) {
        logMessage("Decompress query failed: %s", e.what());
        return imBadFile;
    }
    const std::string typeName = codecString(kCodecStringType, static_cast<int32_t>(compressedFormat.type));
    logMessage("Compressed format info: %d x %d, %s (%d), %s (%d), range: %d", compressedFormat.width,
               compressedFormat.height, typeName.c_str(), compressedFormat.type,
               codecString(kCodecStringColorSpace, static_cast<int32_t>(compressedFormat.colorSpace)).c_str(),
               compressedFormat.colorSpace, compressedFormat.range);

    try {
        subTypeInfo = GetSubTypeInfo_by_nrvTypeComp(compressedFormat.type);
    } catch (const std::exception& e) {
        logMessage("Unsupported compressed type: %s (%d): %s", typeName.c_str(), compressedFormat.type, e.what());
        return imOtherErr;
    }

    decodeFormats = getDecodeFormats(compressedData());
    logMessage("Decode formats:");
    for (const FormatInfo& format : decodeFormats)
        logMessage("    %s [%s]", pixelFormatName(format.pixelFormat), fourccToText(format.pixelFormat, false).c_str());
    if (decodeFormats.empty()) {
        logMessage("No formats to decode into: decodeFormats is empty");
        return imBadFile;
    }

    numFrames = static_cast<int64_t>(videoStream.frames().size());
    computeRate();
    return imNoErr;
}

void VideoInfo::computeRate() {
    const uint32_t rate = stream->header.rate;
    const uint32_t scale = stream->header.scale;
    const FrameRate fps = computeFrameRate(static_cast<int32_t>(rate), static_cast<int32_t>(scale), numFrames);
    if (fps.invalid) logMessage("Invalid FPS: %d/%d", static_cast<int32_t>(rate), static_cast<int32_t>(scale));
    if (fps.durationAdjusted) logMessage("Video duration overflow detected, adjusting FPS");
    fpsNumerator = fps.numerator;
    fpsDenominator = fps.denominator;

    logMessage("NumFrames: %d", static_cast<int>(numFrames));
    logMessage("AVI FPS: %d / %d (%.3f)", static_cast<int32_t>(rate), static_cast<int32_t>(scale),
               scale ? static_cast<double>(rate) / static_cast<double>(scale) : 0.0);
    logMessage("Adjusted FPS: %d / %d (%.3f)", fpsNumerator, fpsDenominator,
               static_cast<double>(fpsNumerator) / static_cast<double>(fpsDenominator));
}
