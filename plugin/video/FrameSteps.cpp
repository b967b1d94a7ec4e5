#include "video/FrameSteps.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <optional>
#include <string>

#include "fileio/File.h"
#include "formats/Catalogue.h"
#include "log/Log.h"
#include "log/Names.h"

using namespace prsdk;

namespace {

// The nearest frame with data before `index`, else the first one after it.
std::optional<uint32_t> nonEmptyNeighbour(const std::vector<FrameEntry>& frames, uint32_t index) {
    for (uint32_t i = index; i-- > 0;)
        if (frames[i].size != 0) return i;
    for (size_t i = size_t(index) + 1; i < frames.size(); ++i)
        if (frames[i].size != 0) return static_cast<uint32_t>(i);
    return std::nullopt;
}

// Why a frame's data cannot be in the file, or "" when it can.
std::string pastEndOfFile(fileio::File& file, const FrameEntry& entry) {
    const int64_t fileSize = file.size();
    if (fileSize < 0) return "the file's size cannot be had";
    const auto available = static_cast<uint64_t>(fileSize);
    if (entry.offset <= available && entry.size <= available - entry.offset) return "";
    return "frame data at offset " + std::to_string(entry.offset) + ", size " + std::to_string(entry.size) +
           " lies past the end of the file (" + std::to_string(fileSize) + " bytes)";
}

void logFrameFormats(const FrameJob& job) {
    logMessage("inNumFrameFormats: %d", static_cast<int>(job.frameFormats.size()));
    for (size_t i = 0; i < job.frameFormats.size(); ++i) {
        const imFrameFormat format = job.frameFormats[i];
        logMessage("inFrameFormats[%d]: %d %d %s [%s]", static_cast<int>(i), format.inFrameWidth, format.inFrameHeight,
                   pixelFormatName(format.inPixelFormat), fourccToText(format.inPixelFormat, false).c_str());
    }
}

void endDecompression(VideoInfo& video) {
    logMessage("Pixel format changed, ending decompression");
    try {
        video.codec.decompressEnd();
    } catch (const std::exception& e) {
        logMessage("Internal error: decompressEnd() failed: %s", e.what());
    }
    video.decompressing = false;
}

std::string typeName(uint32_t type) { return codecString(kCodecStringType, static_cast<int32_t>(type)); }
std::string colorSpaceName(uint32_t space) { return codecString(kCodecStringColorSpace, static_cast<int32_t>(space)); }

int32_t beginDecompression(VideoInfo& video, const FormatInfo& format) {
    const CodecFormat& stream = video.compressedFormat;
    logMessage("Starting decompression: %s [%s]%s -> %s [%s] (pr: %s [%s])%s%s", typeName(stream.type).c_str(),
               colorSpaceName(stream.colorSpace).c_str(), stream.range == 2 ? " [FULL]" : " [LIMITED]",
               typeName(format.nrvType).c_str(), colorSpaceName(format.colorSpace).c_str(),
               pixelFormatName(format.pixelFormat), fourccToText(format.pixelFormat, false).c_str(),
               format.isTopLeft() ? "" : " [flipped]", format.isAdobe16u() ? " [0-32768]" : "");
    video.decodeFormat = formatInfoToCodecFormat(format);
    CodecFormat filled = emptyCodecFormat();
    try {
        video.codec.decompressBegin(video.compressedData, video.decodeFormat, filled);
    } catch (const std::exception& e) {
        logMessage("Decompress begin failed: %s", e.what());
        return imBadCompression;
    }
    // The codec describes the stream again, as it did when the clip was opened. The
    // description is written only when it differs: the asynchronous importer's
    // tasks read the frame size (selectFrame) without the decode lock held here.
    if (std::memcmp(&video.compressedFormat, &filled, sizeof filled) != 0) video.compressedFormat = filled;
    video.decompressing = true;
    video.pixelFormat = format.pixelFormat;
    return imNoErr;
}

// Creates the job's host frame and describes its memory as the codec's one plane.
int32_t makeHostFrame(const VideoInfo& video, FrameJob& job, const imFrameFormat& format, CodecPlane& plane) {
    const prRect bounds{0, 0, format.inFrameWidth, format.inFrameHeight};
    PPixHand frame = nullptr;
    const int32_t created =
        job.sources.ppixCreator->CreatePPix(&frame, PrPPixBufferAccess_WriteOnly, format.inPixelFormat, &bounds);
    if (created != 0) {
        logMessage("ERROR: CreatePPix() failed: %d", created);
        return imOtherErr;
    }
    job.hostFrame.adopt(frame);
    char* pixels = nullptr;
    int32_t rowBytes = 0;
    const int32_t gotPixels = job.sources.ppix->GetPixels(frame, PrPPixBufferAccess_WriteOnly, &pixels);
    const int32_t gotRowBytes = job.sources.ppix->GetRowBytes(frame, &rowBytes);
    if (gotPixels != 0 || gotRowBytes != 0 || !pixels || rowBytes <= 0) {
        logMessage("ERROR: GetPixels() / GetRowBytes() failed: %d / %d", gotPixels, gotRowBytes);
        return imOtherErr;
    }
    // A frame too large to describe is described smaller; the codec then refuses it.
    const uint64_t size = uint64_t(uint32_t(rowBytes)) * video.compressedFormat.height;
    plane = CodecPlane{reinterpret_cast<uintptr_t>(pixels), static_cast<uint32_t>(rowBytes),
                       static_cast<uint32_t>(std::min<uint64_t>(size, UINT32_MAX))};
    return imNoErr;
}

}  // namespace

uint32_t frameTimeToIndex(const VideoInfo& video, int64_t frameTime) {
    if (frameTime < 0 || video.fpsNumerator == 0) return kNoFrameIndex;
    // In 128 bits, so that no hostile rate or host time base overflows.
    const __int128 ticksPerFrame = __int128(video.fpsDenominator) * video.ticksPerSecond / video.fpsNumerator;
    if (ticksPerFrame <= 0) return kNoFrameIndex;
    const __int128 index = frameTime / ticksPerFrame;
    return index < kNoFrameIndex ? static_cast<uint32_t>(index) : kNoFrameIndex;
}

int32_t selectFrame(const VideoInfo& video, FrameJob& job) {
    const uint32_t index = frameTimeToIndex(video, job.frameTime);
    logMessage("inFrameTime: %lld", static_cast<long long>(job.frameTime));
    logMessage("frameIndex:  %u (total: %u)", index, static_cast<uint32_t>(video.numFrames));
    if (index == kNoFrameIndex || index >= video.numFrames) {
        logMessage("frameIndex out of bounds");
        return imFrameNotFound;
    }
    job.frameIndex = index;
    logFrameFormats(job);
    if (job.frameFormats.empty()) {
        logMessage("ERROR: frameFormats is empty");
        return imOtherErr;
    }
    imFrameFormat& first = job.frameFormats.front();
    const auto width = static_cast<int32_t>(video.compressedFormat.width);
    const auto height = static_cast<int32_t>(video.compressedFormat.height);
    if (first.inFrameWidth == 0) first.inFrameWidth = width;
    if (first.inFrameHeight == 0) first.inFrameHeight = height;
    if (first.inFrameWidth != width || first.inFrameHeight != height) {
        logMessage("ERROR: frame size mismatch (%d, %d) != (%d, %d)", static_cast<int>(first.inFrameWidth),
                   static_cast<int>(first.inFrameHeight), width, height);
        return imOtherErr;
    }
    return imNoErr;
}

int32_t readFrame(const VideoInfo& video, FrameJob& job) {
    const std::vector<FrameEntry>& frames = video.stream->frames();
    uint32_t index = job.frameIndex;
    if (frames.at(index).size == 0) {
        const std::optional<uint32_t> neighbour = nonEmptyNeighbour(frames, index);
        if (!neighbour) return imFrameNotFound;
        logMessage("Empty frame: %u, frame read: %u", index, *neighbour);
        index = *neighbour;
    }
    const FrameEntry& entry = frames[index];
    fileio::File& file = *job.sources.file;
    const std::string beyond = pastEndOfFile(file, entry);
    if (!beyond.empty()) {
        logMessage("Failed to read frame from AVI: %s", beyond.c_str());
        return imFileReadFailed;
    }
    job.compressedData.grow(entry.size);
    try {
        fileio::seekTo(file, static_cast<int64_t>(entry.offset));
        fileio::readExact(file, job.compressedData.data(), entry.size);
    } catch (const std::exception& e) {
        logMessage("Failed to read frame from AVI: %s", e.what());
        return imFileReadFailed;
    }
    job.frameSize = entry.size;
    return imNoErr;
}

int32_t decodeFrame(VideoInfo& video, FrameJob& job) {
    const imFrameFormat format = job.frameFormats.at(0);
    const FormatInfo& info = GetFormatInfo_by_pixelFormat(format.inPixelFormat);
    if (video.decompressing && format.inPixelFormat != video.pixelFormat) endDecompression(video);
    if (!video.decompressing) {
        if (const int32_t result = beginDecompression(video, info)) return result;
    }
    CodecPlane planes[4] = {};
    if (const int32_t result = makeHostFrame(video, job, format, planes[0])) return result;
    try {
        video.codec.decompress(CodecBuffer{job.compressedData.data(), job.frameSize}, planes);
    } catch (const std::exception& e) {
        logMessage("Decompress failed: %s", e.what());
        return imBadCompression;
    }
    return imNoErr;
}
