// The stream header (strh) fields the repair and the check read, in one place:
// everything they take from a parsed stream's header goes through here.
#pragma once

#include <cstdint>

#include "AviWriter.h"
#include "avi/AviStream.h"

namespace repair {

struct StreamHeaderFields {
    FourCC fccType = 0;
    FourCC fccHandler = 0;
    uint32_t scale = 0;
    uint32_t rate = 0;
    uint32_t length = 0;      // dwLength: frames, or audio blocks
    uint32_t sampleSize = 0;  // dwSampleSize
};

StreamHeaderFields streamHeaderFields(const AviStream& stream);

// The writer's setup for a fresh copy of the stream: its header fields and format
// as stored, with the length and buffer size left for the writer to count.
aviwriter::StreamSetup streamSetupFrom(const AviStream& stream);

// nBlockAlign of an audio stream's wave format (0 when the format is too short).
uint32_t audioBlockAlign(const AviStream& stream);

}  // namespace repair
