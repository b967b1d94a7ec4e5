// Tables of the codec's compressed types and output types.
#pragma once

#include <cstdint>

namespace norvik {

enum class Model : uint8_t { Rgb, Yuv, Grey };

// A compressed type: how its planes are laid out and coded.
struct CompressedType {
    uint32_t type;
    Model model;
    uint8_t planes;   // coded planes: 1 (grey), 3, or 4 (with alpha)
    uint8_t bits;     // 8, 10, 12 or 14
    uint8_t chromaX;  // horizontal chroma subsampling (1 or 2)
    uint8_t chromaY;  // vertical chroma subsampling (1 or 2)
    bool alpha() const { return planes == 4; }
};

// Returns the row for a compressed type, or nullptr for any other number.
const CompressedType* findCompressedType(uint32_t type);

// An output (or encoder source) layout in memory.
struct OutputType {
    uint32_t type;
    Model model;     // Rgb or Yuv
    uint8_t bits;    // 8, 10 or 16 bits per component
    bool alpha;      // carries a real alpha component
    bool chroma422;  // chroma shared by pixel pairs (types 4, 5, 11)
};

// Returns the row for an output type, or nullptr for any other number.
const OutputType* findOutputType(uint32_t type);

// Bytes the library writes (or reads) in one row of `width` pixels of an output type.
uint64_t outputRowBytes(uint32_t type, uint32_t width);

// Width and height of plane `plane` of a compressed picture.
uint32_t planeWidth(const CompressedType& t, uint32_t plane, uint32_t width);
uint32_t planeHeight(const CompressedType& t, uint32_t plane, uint32_t height);

}  // namespace norvik
