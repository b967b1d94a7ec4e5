// The description of a clip's video stream: how it is compressed, which host
// pixel formats it can be decoded into (best first), its frame count and rate,
// and the host's time base. Built once while the clip is parsed (init), then
// held const and shared: it holds no codec session and no decoding state (the
// frame decoder has those), so any thread may read it.
#pragma once

#include <cstdint>
#include <vector>

#include "avi/AviStream.h"
#include "codec/NorvikCodec.h"
#include "formats/Catalogue.h"

struct VideoInfo {
    VideoInfo();
    ~VideoInfo();
    VideoInfo(const VideoInfo&) = default;
    VideoInfo& operator=(const VideoInfo&) = default;

    // Describes `videoStream`, asking `codec` what its format block holds; 0, or
    // 2 (imBadFile) / 5 (imOtherErr) with a log line. Exceptions of the
    // catalogue's getDecodeFormats pass through.
    int32_t init(const AviStream& videoStream, NorvikCodec& codec);

    // The codec-private bytes of the format chunk, as the codec takes them.
    CodecBuffer compressedData() const { return CodecBuffer{formatBytes.data(), uint32_t(formatBytes.size())}; }

    int64_t ticksPerSecond = 0;  // the host's time base
    CodecFormat compressedFormat = emptyCodecFormat();
    std::vector<uint8_t> formatBytes;
    SubTypeInfo subTypeInfo{};  // a copy of the clip's subtype row
    std::vector<FormatInfo> decodeFormats;
    const AviStream* stream = nullptr;  // not owned; the clip description's parser has it
    int64_t numFrames = 0;
    int32_t fpsNumerator = 0;
    int32_t fpsDenominator = 0;

private:
    void computeRate();
};
