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

FourCC AviStream::fccType() const { return avi::ByteReader(header.data(), header.size()).u32(0); }

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
