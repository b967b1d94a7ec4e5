// Picture layouts read by the clip maker and the shape of a picture in each.
#include "Layouts.h"

#include <stdexcept>

#include "ClipMaker.h"
#include "norvik/norvik_common.h"

namespace clipmaker {

namespace {

// Planar layouts first: planarLayoutOf() takes the first entry of a type.
const RawLayout kRawLayouts[] = {
    {"gbrp", 101, 101, 0},
    {"gbrap", 102, 102, 0},
    {"yuv444p", 103, 103, 0},
    {"yuv422p", 104, 104, 0},
    {"yuv420p", 105, 105, 0},
    {"yuva444p", 106, 106, 0},
    {"gray", 107, 107, 0},
    {"yuv422p10le", 108, 108, 0},
    {"gbrp10le", 109, 109, 0},
    {"gbrap10le", 110, 110, 0},
    {"gbrp12le", 111, 111, 0},
    {"gbrap12le", 112, 112, 0},
    {"gbrp14le", 113, 113, 0},
    {"gbrap14le", 114, 114, 0},
    {"gray10le", 115, 115, 0},
    {"yuv444p10le", 118, 118, 0},
    {"yuv420p10le", 123, 123, 0},
    {"yuvj444p", 103, 103, 2},
    {"yuvj422p", 104, 104, 2},
    {"yuvj420p", 105, 105, 2},
    // Packed layouts the encoder takes as they are.
    {"bgr0", 101, 1, 0},
    {"0rgb", 101, 16, 0},
    {"bgra", 102, 2, 0},
    {"argb", 102, 19, 0},
    {"x2rgb10le", 109, 15, 0},
    {"yuyv422", 104, 4, 0},
    {"uyvy422", 104, 5, 0},
};

const std::pair<const char*, uint32_t> kY4mTags[] = {
    {"420jpeg", 105},  {"420mpeg2", 105}, {"420paldv", 105}, {"420", 105},    {"422", 104},    {"444", 103},
    {"444alpha", 106}, {"mono", 107},     {"420p10", 123},   {"422p10", 108}, {"444p10", 118}, {"mono10", 115},
};

// Bytes of one row of a packed source type.
uint32_t packedRowBytes(uint32_t source, uint32_t width) {
    switch (source) {
        case 4:
        case 5: return 4 * ((width + 1) / 2);
        case 1:
        case 2:
        case 15:
        case 16:
        case 19: return 4 * width;
        default: throw std::logic_error("not a packed source type: " + std::to_string(source));
    }
}

}  // namespace

const RawLayout* findRawLayout(const std::string& name) {
    for (const RawLayout& l : kRawLayouts)
        if (name == l.name) return &l;
    return nullptr;
}

const RawLayout* planarLayoutOf(uint32_t type) {
    for (const RawLayout& l : kRawLayouts)
        if (l.type == type && l.source == type) return &l;
    return nullptr;
}

const RawLayout* findY4mLayout(const std::string& tag) {
    for (const auto& [name, type] : kY4mTags)
        if (tag == name) return planarLayoutOf(type);
    return nullptr;
}

std::string rawLayoutNames() {
    std::string out;
    for (const RawLayout& l : kRawLayouts) out += (out.empty() ? "" : ", ") + std::string(l.name);
    return out;
}

std::string y4mTagNames() {
    std::string out;
    for (const auto& tag : kY4mTags) out += (out.empty() ? "C" : ", C") + std::string(tag.first);
    return out;
}

std::string typeOption(uint32_t type) {
    return "-t " + std::to_string(type) + " (" + norvik_get_string(NORVIK_STR_TYPE, static_cast<int32_t>(type)) + ")";
}

void shapePicture(const PictureFormat& format, Picture& picture) {
    const uint32_t w = format.width, h = format.height;
    uint64_t stride[4] = {}, rows[4] = {};
    int planes = 1;
    if (format.sourceType != format.type) {
        stride[0] = packedRowBytes(format.sourceType, w);
        rows[0] = h;
    } else {
        Frame shape;
        shape.width = w, shape.height = h, shape.layout = planeLayout(format.type);
        planes = shape.layout.planes;
        for (int p = 0; p < planes; ++p) {
            stride[p] = uint64_t{shape.planeWidth(p)} * (shape.layout.bits == 8 ? 1 : 2);
            rows[p] = shape.planeHeight(p);
        }
    }
    uint64_t total = 0;
    for (int p = 0; p < planes; ++p) {
        if (stride[p] * rows[p] > UINT32_MAX)
            throw std::runtime_error("pictures of " + std::to_string(w) + "x" + std::to_string(h) + " in " +
                                     format.name + " are too large for the encoder");
        total += stride[p] * rows[p];
    }
    picture.bytes.resize(total);
    uint64_t at = 0;
    for (int p = 0; p < 4; ++p) {
        const uint64_t size = stride[p] * rows[p];
        picture.planes[p] = Picture::Plane{at, static_cast<uint32_t>(stride[p]), static_cast<uint32_t>(size)};
        at += size;
    }
}

}  // namespace clipmaker
