// The decoding state of one reader of a clip's video: a codec session of its
// own, the decompression begun on it (its output format and pixel format), and
// the video description it was begun for. Decodes a job's compressed frame into
// a new host frame, beginning (or, for another pixel format, ending and
// beginning again) the decompression as needed.
//
// Ownership: owns its codec session, opened at the first decompression and
// closed by the destructor (a begun decompression is not ended first). It holds
// the description it follows weakly: when it is asked to decode for another
// description (the clip was parsed again), it drops its codec session silently
// and starts afresh, as a new session would.
//
// Not thread-safe: one decode at a time (the synchronous session's calls are
// serialised by its owner, the asynchronous importer's by its decode mutex).
#pragma once

#include <cstdint>
#include <memory>

#include "codec/NorvikCodec.h"
#include "formats/Catalogue.h"
#include "streams/VideoInfo.h"
#include "video/FrameJob.h"

class FrameDecoder {
public:
    FrameDecoder();
    ~FrameDecoder();
    FrameDecoder(const FrameDecoder&) = delete;
    FrameDecoder& operator=(const FrameDecoder&) = delete;

    // Begins the decompression into the job's first format's pixel format when
    // none is begun for it, creates the host frame and decodes into it. 0, 8
    // (imBadCompression: cannot begin, or a bad frame) or 5 (the host frame cannot
    // be made). A pixel format outside the catalogue throws std::runtime_error;
    // a codec session that cannot be opened throws NorvikError. On failure the
    // job may hold a host frame, which is disposed of with the job.
    int32_t decode(const std::shared_ptr<const VideoInfo>& video, FrameJob& job);

    bool decompressing() const { return m_decompressing; }
    // The pixel format of the begun decompression; PrPixelFormat_Invalid at first.
    uint32_t pixelFormat() const { return m_pixelFormat; }

private:
    void follow(const std::shared_ptr<const VideoInfo>& video);
    int32_t begin(const VideoInfo& video, const FormatInfo& format);
    void end();

    std::unique_ptr<NorvikCodec> m_codec;  // null until the first begin
    std::weak_ptr<const VideoInfo> m_video;
    CodecFormat m_decodeFormat = emptyCodecFormat();
    bool m_decompressing = false;
    uint32_t m_pixelFormat;
};
