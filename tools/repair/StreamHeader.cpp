#include "StreamHeader.h"

#include "avi/ByteReader.h"

namespace repair {
StreamHeaderFields streamHeaderFields(const AviStream& stream) {
    const StreamHeader& h = stream.header;
    return {h.fccType, h.fccHandler, h.scale, h.rate, h.length, h.sampleSize};
}

aviwriter::StreamSetup streamSetupFrom(const AviStream& stream) {
    const StreamHeader& h = stream.header;
    aviwriter::StreamSetup s;
    s.fccType = h.fccType;
    s.fccHandler = h.fccHandler;
    s.flags = h.flags;
    s.priority = h.priority;
    s.language = h.language;
    s.initialFrames = h.initialFrames;
    s.scale = h.scale;
    s.rate = h.rate;
    s.start = h.start;
    s.quality = h.quality;
    s.sampleSize = h.sampleSize;
    s.frame[0] = h.frameLeft;
    s.frame[1] = h.frameTop;
    s.frame[2] = h.frameRight;
    s.frame[3] = h.frameBottom;
    s.format = stream.format;
    if (s.fccType == makeFourCC("auds")) s.chunkType[0] = 'w', s.chunkType[1] = 'b';
    return s;
}

uint32_t audioBlockAlign(const AviStream& stream) {
    return avi::ByteReader(stream.format.data(), stream.format.size()).u16(12);
}

}  // namespace repair
