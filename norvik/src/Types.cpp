#include "Types.h"

namespace norvik {

namespace {

constexpr CompressedType kCompressed[] = {
    {101, Model::Rgb, 3, 8, 1, 1},  {102, Model::Rgb, 4, 8, 1, 1},  {103, Model::Yuv, 3, 8, 1, 1},
    {104, Model::Yuv, 3, 8, 2, 1},  {105, Model::Yuv, 3, 8, 2, 2},  {106, Model::Yuv, 4, 8, 1, 1},
    {107, Model::Grey, 1, 8, 1, 1}, {108, Model::Yuv, 3, 10, 2, 1}, {109, Model::Rgb, 3, 10, 1, 1},
    {110, Model::Rgb, 4, 10, 1, 1}, {111, Model::Rgb, 3, 12, 1, 1}, {112, Model::Rgb, 4, 12, 1, 1},
    {113, Model::Rgb, 3, 14, 1, 1}, {114, Model::Rgb, 4, 14, 1, 1}, {115, Model::Grey, 1, 10, 1, 1},
    {118, Model::Yuv, 3, 10, 1, 1}, {123, Model::Yuv, 3, 10, 2, 2},
};

constexpr OutputType kOutputs[] = {
    {1, Model::Rgb, 8, false, false},   {2, Model::Rgb, 8, true, false},   {4, Model::Yuv, 8, false, true},
    {5, Model::Yuv, 8, false, true},    {11, Model::Yuv, 10, false, true}, {15, Model::Rgb, 10, false, false},
    {16, Model::Rgb, 8, false, false},  {19, Model::Rgb, 8, true, false},  {31, Model::Rgb, 16, true, false},
    {32, Model::Rgb, 16, false, false}, {49, Model::Yuv, 8, false, false}, {50, Model::Yuv, 8, true, false},
};

}  // namespace

const CompressedType* findCompressedType(uint32_t type) {
    for (const auto& row : kCompressed)
        if (row.type == type) return &row;
    return nullptr;
}

const OutputType* findOutputType(uint32_t type) {
    for (const auto& row : kOutputs)
        if (row.type == type) return &row;
    return nullptr;
}

uint64_t outputRowBytes(uint32_t type, uint32_t width) {
    const uint64_t w = width;
    switch (type) {
        case 4:
        case 5: return (w + 1) / 2 * 4;
        case 11: return (w + 5) / 6 * 16;
        case 31:
        case 32: return w * 8;
        default: return w * 4;
    }
}

uint32_t planeWidth(const CompressedType& t, uint32_t plane, uint32_t width) {
    const bool chroma = t.model == Model::Yuv && (plane == 1 || plane == 2);
    return chroma ? (width + t.chromaX - 1) / t.chromaX : width;
}

uint32_t planeHeight(const CompressedType& t, uint32_t plane, uint32_t height) {
    const bool chroma = t.model == Model::Yuv && (plane == 1 || plane == 2);
    return chroma ? (height + t.chromaY - 1) / t.chromaY : height;
}

}  // namespace norvik
