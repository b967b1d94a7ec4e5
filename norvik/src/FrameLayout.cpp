#include "FrameLayout.h"

#include <algorithm>
#include <cstring>

#include "Bytes.h"

namespace norvik {

RowSpan sliceRows(const StreamFormat& f, uint32_t slice, uint32_t plane) {
    const uint32_t first = slice * f.sliceHeight;
    const uint32_t end = std::min(f.height, first + f.sliceHeight);
    const bool halfHeight = f.type->chromaY == 2 && (plane == 1 || plane == 2);
    if (halfHeight) return {first / 2, (end - first) / 2};
    return {first, end - first};
}

namespace {

bool parseSlicePlane(const uint8_t* data, size_t size, size_t offset, const StreamFormat& f, uint32_t slice,
                     uint32_t plane, SlicePlaneView& v) {
    if (offset < kFrameHeaderSize || offset > size || size - offset < kSlicePlaneHeaderSize) return false;
    const uint8_t* p = data + offset;
    if (p[0] > kMedian || p[2] != 0 || p[3] != 0) return false;
    const uint32_t payload = readLe32(p + 4);
    if (payload > size - offset - kSlicePlaneHeaderSize) return false;
    const unsigned bits = f.type->bits;
    v.method = p[0];
    v.riceParameter = p[1];
    v.payload = p + kSlicePlaneHeaderSize;
    v.payloadSize = payload;
    if (v.method == kStored) {
        const RowSpan rows = sliceRows(f, slice, plane);
        const uint64_t samples = static_cast<uint64_t>(rows.count) * planeWidth(*f.type, plane, f.width);
        return v.riceParameter == 0 && payload == samples * (bits == 8 ? 1 : 2);
    }
    return v.riceParameter <= bits;
}

}  // namespace

bool parseFrame(const uint8_t* data, size_t size, const StreamFormat& f, std::vector<SlicePlaneView>& out) {
    if (data == nullptr || size < kFrameHeaderSize) return false;
    if (std::memcmp(data, "NVKF", 4) != 0 || readLe32(data + 4) != size) return false;
    const uint32_t slices = readLe16(data + 8);
    const uint32_t planes = data[10];
    if (slices != f.sliceCount() || planes != f.type->planes || data[11] != 0) return false;
    const size_t count = static_cast<size_t>(slices) * planes;
    if ((size - kFrameHeaderSize) / 4 < count) return false;
    out.resize(count);
    for (uint32_t s = 0; s < slices; ++s) {
        for (uint32_t p = 0; p < planes; ++p) {
            const size_t i = static_cast<size_t>(s) * planes + p;
            const uint32_t offset = readLe32(data + kFrameHeaderSize + 4 * i);
            if (!parseSlicePlane(data, size, offset, f, s, p, out[i])) return false;
        }
    }
    return true;
}

}  // namespace norvik
