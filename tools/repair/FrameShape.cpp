#include "FrameShape.h"

#include "avi/ByteReader.h"

namespace repair {
namespace {

constexpr size_t kBitmapHeader = 40;
constexpr size_t kFrameHeader = 12;
constexpr size_t kSlicePlaneHeader = 8;

// Coded planes per compressed type (norvik/FORMAT.md, "Numbers"); 0: unknown type.
uint32_t planesOfType(uint8_t type) {
    switch (type) {
        case 101: case 103: case 104: case 105: case 108: case 109: case 111: case 113: case 118: case 123:
            return 3;
        case 102: case 106: case 110: case 112: case 114:
            return 4;
        case 107: case 115:
            return 1;
        default:
            return 0;
    }
}

}  // namespace

std::optional<FrameLayout> frameLayout(const std::vector<uint8_t>& formatChunk) {
    if (formatChunk.size() < kBitmapHeader + 24) return std::nullopt;
    const avi::ByteReader r(formatChunk.data() + kBitmapHeader, formatChunk.size() - kBitmapHeader);
    if (r.u32(0) != 0x534B564Eu /* "NVKS" */ || r.u8(4) != 1) return std::nullopt;
    const uint32_t planes = planesOfType(r.u8(5));
    const uint32_t height = r.u32(12), sliceHeight = r.u16(20);
    if (planes == 0 || height == 0 || height > 32768 || sliceHeight == 0) return std::nullopt;
    return FrameLayout{(height + sliceHeight - 1) / sliceHeight, planes};
}

std::string frameFault(const uint8_t* frame, size_t size, const FrameLayout& layout) {
    if (size == 0) return {};
    const avi::ByteReader r(frame, size);
    if (size < kFrameHeader) return "shorter than a frame header";
    if (r.u32(0) != 0x464B564Eu /* "NVKF" */) return "no frame header";
    if (r.u32(4) != size) return "its size field says " + std::to_string(r.u32(4)) + " bytes";
    if (r.u16(8) != layout.slices || r.u8(10) != layout.planes) return "slice or plane count not the stream's";
    const uint64_t entries = uint64_t(layout.slices) * layout.planes;
    if (!r.has(kFrameHeader, entries * 4)) return "slice table runs past the frame";
    for (uint64_t i = 0; i < entries; ++i) {
        const uint64_t at = r.u32(kFrameHeader + 4 * i);
        if (!r.has(at, kSlicePlaneHeader)) return "a slice lies outside the frame";
        if (!r.has(at + kSlicePlaneHeader, r.u32(at + 4))) return "a slice's data runs past the frame";
    }
    return {};
}

}  // namespace repair
