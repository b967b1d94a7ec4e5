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

uint64_t magnitude(int64_t v) { return v < 0 ? 0 - uint64_t(v) : uint64_t(v); }

// a x b / c truncated, saturating at UINT64_MAX, for a and c below 2^32, in 64
// bits: with b = q c + r it is a q + a r / c, where a r < 2^64 cannot overflow.
uint64_t mulDivSaturated(uint64_t a, uint64_t b, uint64_t c) {
    const uint64_t q = b / c;
    const uint64_t r = b % c;
    if (q != 0 && a > UINT64_MAX / q) return UINT64_MAX;
    const uint64_t whole = a * q;
    const uint64_t rest = a * r / c;
    return whole > UINT64_MAX - rest ? UINT64_MAX : whole + rest;
}

}  // namespace

uint32_t frameTimeToIndex(const VideoInfo& video, int64_t frameTime) {
    if (frameTime < 0 || video.fpsNumerator == 0) return kNoFrameIndex;
    // Magnitude and sign apart, so that no hostile rate or host time base
    // overflows; a frame longer than any time saturates (every time is frame 0).
    const int64_t a = video.fpsDenominator;
    const int64_t b = video.ticksPerSecond;
    const int64_t c = video.fpsNumerator;
    const bool negative = (a < 0) != ((b < 0) != (c < 0));
    const uint64_t ticksPerFrame = mulDivSaturated(magnitude(a), magnitude(b), magnitude(c));
    if (ticksPerFrame == 0 || negative) return kNoFrameIndex;
    const uint64_t index = static_cast<uint64_t>(frameTime) / ticksPerFrame;
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
