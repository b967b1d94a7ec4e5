#include "StreamFormat.h"

#include <cstring>

#include "Bytes.h"

namespace norvik {

bool validStreamFormat(const StreamFormat& f) {
    if (f.type == nullptr) return false;
    if (f.colorSpace < 1 || f.colorSpace > 2 || f.range < 1 || f.range > 2) return false;
    if (f.width < 1 || f.width > kMaxDimension || f.height < 1 || f.height > kMaxDimension) return false;
    if (f.type->chromaX == 2 && f.width % 2 != 0) return false;
    if (f.type->chromaY == 2 && f.height % 2 != 0) return false;
    if (f.fieldType > 3) return false;
    if (f.sliceHeight < 1 || f.sliceHeight > 0xFFFF) return false;
    if (f.type->chromaY == 2 && f.sliceHeight % 2 != 0) return false;
    return true;
}

bool parseStreamFormat(const void* data, size_t size, StreamFormat& out) {
    if (data == nullptr || size < kStreamFormatSize) return false;
    const auto* p = static_cast<const uint8_t*>(data);
    if (std::memcmp(p, "NVKS", 4) != 0 || p[4] != 1) return false;
    if (readLe16(p + 22) != 0) return false;
    StreamFormat f;
    f.type = findCompressedType(p[5]);
    f.colorSpace = p[6];
    f.range = p[7];
    f.width = readLe32(p + 8);
    f.height = readLe32(p + 12);
    f.fieldType = readLe32(p + 16);
    f.sliceHeight = readLe16(p + 20);
    if (!validStreamFormat(f)) return false;
    out = f;
    return true;
}

void writeStreamFormat(const StreamFormat& f, uint8_t* out) {
    std::memcpy(out, "NVKS", 4);
    out[4] = 1;
    out[5] = static_cast<uint8_t>(f.type->type);
    out[6] = static_cast<uint8_t>(f.colorSpace);
    out[7] = static_cast<uint8_t>(f.range);
    writeLe32(out + 8, f.width);
    writeLe32(out + 12, f.height);
    writeLe32(out + 16, f.fieldType);
    writeLe16(out + 20, static_cast<uint16_t>(f.sliceHeight));
    writeLe16(out + 22, 0);
}

uint32_t defaultSliceHeight(uint32_t height) {
    uint32_t h = (height + 15) / 16;
    h += h % 2;
    if (h < 2) h = 2;
    return h > 0xFFFE ? 0xFFFE : h;
}

}  // namespace norvik
