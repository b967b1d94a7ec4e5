// The description of a clip's video stream: how it is compressed, which host
// pixel formats it can be decoded into (best first), its frame count and rate;
// and the state of the decompression begun on its codec handle.
//
// Owned by its NorvikImporter; used by one host call at a time (no lock).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "avi/AviStream.h"
#include "codec/NorvikCodec.h"
#include "formats/Catalogue.h"

class NorvikImporter;
struct HostSuites;

struct VideoInfo {
    // The session's suites, created on first need (the session's ensureSuites).
    using SuitesOnDemand = std::function<HostSuites&()>;

    // Opens the codec, then reads the host's time base through the session's
    // suites; throws NorvikError when the codec cannot be opened and
    // std::runtime_error when the Time Suite cannot be had.
    VideoInfo(NorvikImporter* importer, const SuitesOnDemand& suites);
    ~VideoInfo();
    VideoInfo(const VideoInfo&) = delete;
    VideoInfo& operator=(const VideoInfo&) = delete;

    // Describes `videoStream`; 0, or 2 (imBadFile) / 5 (imOtherErr) with a log line.
    // Exceptions of the catalogue's getDecodeFormats pass through.
    int32_t init(const AviStream& videoStream);

    NorvikImporter* importer;  // not owned
    int64_t ticksPerSecond = 0;
    NorvikCodec codec;  // open for the whole life of the description
    // Set by init; a decompression begun later writes it only if the codec then
    // describes the stream otherwise (frame tasks read the size without a lock).
    CodecFormat compressedFormat = emptyCodecFormat();
    CodecBuffer compressedData{nullptr, 0};  // points into formatBytes
    std::vector<uint8_t> formatBytes;        // the codec-private bytes of the format chunk
    CodecFormat decodeFormat = emptyCodecFormat();
    bool decompressing = false;
    uint32_t pixelFormat;       // of the begun decompression; PrPixelFormat_Invalid at first
    SubTypeInfo subTypeInfo{};  // a copy of the clip's subtype row
    std::vector<FormatInfo> decodeFormats;
    const AviStream* stream = nullptr;  // not owned; the parser's
    int64_t numFrames = 0;
    int32_t fpsNumerator = 0;
    int32_t fpsDenominator = 0;

private:
    void computeRate();
};
