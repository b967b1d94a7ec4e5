// What a clip is, as one parse found it: the AVI structure (streams, headers,
// frame indexes) and the descriptions of the video and audio streams of one host
// stream. Built by NorvikImporter::parse and never changed afterwards: it is
// held through std::shared_ptr<const ClipDescription> and may be read from any
// thread without a lock.
#pragma once

#include <cstdint>
#include <memory>

#include "avi/AviParser.h"
#include "streams/AudioInfo.h"
#include "streams/VideoInfo.h"

struct ClipDescription {
    AviParser parser;  // its streams are read; its file pointer is not used after the parse
    // The audio stream of the host stream; null when host stream 0 has none (or
    // only one, which is invalid). Otherwise possibly an invalid placeholder.
    // Declared before `video`, so that the video description goes first.
    std::shared_ptr<const AudioInfo> audio;
    // Host stream 0: the first video stream. Null for other host streams.
    std::shared_ptr<const VideoInfo> video;
    uint64_t audioStreamCount = 0;
};
