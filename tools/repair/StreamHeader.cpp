#include "StreamHeader.h"

#include "avi/ByteReader.h"

namespace repair {
namespace {

avi::ByteReader headerOf(const AviStream& stream) { return {stream.header.data(), stream.header.size()}; }

}  // namespace

StreamHeaderFields streamHeaderFields(const AviStream& stream) {
    const avi::ByteReader h = headerOf(stream);
    return {h.u32(0), h.u32(4), h.u32(20), h.u32(24), h.u32(32), h.u32(44)};
}

aviwriter::StreamSetup streamSetupFrom(const AviStream& stream) {
    const avi::ByteReader h = headerOf(stream);
    aviwriter::StreamSetup s;
    s.fccType = h.u32(0);
    s.fccHandler = h.u32(4);
    s.flags = h.u32(8);
    s.priority = h.u16(12);
    s.language = h.u16(14);
    s.initialFrames = h.u32(16);
    s.scale = h.u32(20);
    s.rate = h.u32(24);
    s.start = h.u32(28);
    s.quality = h.u32(40);
    s.sampleSize = h.u32(44);
    for (int i = 0; i < 4; ++i) s.frame[i] = static_cast<int16_t>(h.u16(48 + 2 * size_t(i)));
    s.format = stream.format;
    if (s.fccType == makeFourCC("auds")) s.chunkType[0] = 'w', s.chunkType[1] = 'b';
    return s;
}

uint32_t audioBlockAlign(const AviStream& stream) {
    return avi::ByteReader(stream.format.data(), stream.format.size()).u16(12);
}

}  // namespace repair
