#include "avi/AviStream.h"

#include <algorithm>

#include "avi/ByteReader.h"

namespace {

avi::ByteReader over(const std::array<uint8_t, 24>& a) { return {a.data(), a.size()}; }

}  // namespace

uint16_t SuperIndexHeader::longsPerEntry() const { return over(bytes).u16(0); }
uint32_t SuperIndexHeader::entriesInUse() const { return over(bytes).u32(4); }
FourCC SuperIndexHeader::chunkId() const { return over(bytes).u32(8); }

uint16_t StandardIndex::longsPerEntry() const { return over(header).u16(0); }
uint32_t StandardIndex::entriesInUse() const { return over(header).u32(4); }
FourCC StandardIndex::chunkId() const { return over(header).u32(8); }
uint64_t StandardIndex::baseOffset() const { return over(header).u64(12); }

StreamHeader StreamHeader::decode(const uint8_t* bytes) {
    const avi::ByteReader in(bytes, kSize);
    StreamHeader h;
    h.fccType = in.u32(0);
    h.fccHandler = in.u32(4);
    h.flags = in.u32(8);
    h.priority = in.u16(12);
    h.language = in.u16(14);
    h.initialFrames = in.u32(16);
    h.scale = in.u32(20);
    h.rate = in.u32(24);
    h.start = in.u32(28);
    h.length = in.u32(32);
    h.suggestedBufferSize = in.u32(36);
    h.quality = in.u32(40);
    h.sampleSize = in.u32(44);
    h.frameLeft = static_cast<int16_t>(in.u16(48));
    h.frameTop = static_cast<int16_t>(in.u16(50));
    h.frameRight = static_cast<int16_t>(in.u16(52));
    h.frameBottom = static_cast<int16_t>(in.u16(54));
    return h;
}

const std::vector<FrameEntry>& AviStream::frames() const { return odmlIndexComplete ? odmlFrames : legacyFrames; }

uint64_t AviStream::totalBytes() const {
    const auto& f = frames();
    return f.empty() ? 0 : f.back().byteStart + f.back().size;
}

std::vector<FrameEntry>::const_iterator AviStream::findByBytePosition(uint64_t p) const {
    const auto& f = frames();
    auto after =
        std::upper_bound(f.begin(), f.end(), p, [](uint64_t v, const FrameEntry& e) { return v < e.byteStart; });
    if (after == f.begin()) return f.end();
    auto entry = std::prev(after);
    return p < entry->byteStart + entry->size ? entry : f.end();
}
