// Helpers for the codec tests: handles, synthetic pictures, and planar encode and
// decode through the library's C interface.
#pragma once

#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "norvik/norvik_common.h"

namespace norvik_test {

// What the tests need to know of a compressed type.
struct TypeInfo {
    uint32_t type;
    int planes, bits;      // coded planes, bits per sample
    int chromaX, chromaY;  // chroma subsampling: 1 or 2
    bool rgb, grey;
};

const std::vector<TypeInfo>& allTypes();
const TypeInfo& typeInfo(uint32_t type);

// A picture as the codec's planes hold it (real R, G, B values for RGB types).
struct Picture {
    TypeInfo info;
    uint32_t width = 0, height = 0;
    std::vector<uint16_t> planes[4];
    uint32_t planeWidth(int p) const;
    uint32_t planeHeight(int p) const;
    uint16_t at(int p, uint32_t x, uint32_t y) const { return planes[p][static_cast<size_t>(y) * planeWidth(p) + x]; }
};

// Smooth gradients with edges and mild noise (seeded), or uniform noise.
Picture makePicture(uint32_t type, uint32_t width, uint32_t height, uint32_t seed, bool noise = false);

// An open handle, closed on destruction.
class Handle {
public:
    Handle();
    ~Handle();
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    uint32_t get() const { return m_handle; }

private:
    uint32_t m_handle = 0;
};

std::vector<uint8_t> streamFormat(uint32_t type, uint32_t width, uint32_t height, uint32_t sliceHeight = 0,
                                  uint32_t colorSpace = 1, uint32_t range = 1);

CodecFormat record(uint32_t type, uint32_t flags = 0, uint32_t colorSpace = 1, uint32_t range = 1);

// Encodes a frame of `source` (its size set) from `planes`; throws on failure.
std::vector<uint8_t> encode(uint32_t handle, const std::vector<uint8_t>& block, const CodecFormat& source,
                            const CodecPlane planes[4], uint32_t method = NORVIK_AUTO, uint32_t k = NORVIK_AUTO);

// Encodes a picture given as its planes; throws on failure.
std::vector<uint8_t> encodePlanar(uint32_t handle, const std::vector<uint8_t>& block, const Picture& pic,
                                  uint32_t method = NORVIK_AUTO, uint32_t k = NORVIK_AUTO);

// Decodes a frame into the planar output; returns the result code, fills `out`.
int32_t decodePlanar(uint32_t handle, const std::vector<uint8_t>& block, const std::vector<uint8_t>& frame,
                     Picture& out, bool bottomUp = false);

// Decodes into a packed output type with the given row stride; fills `out` with
// height x stride bytes.
int32_t decodePacked(uint32_t handle, const std::vector<uint8_t>& block, const std::vector<uint8_t>& frame,
                     const CodecFormat& wanted, uint32_t height, uint32_t stride, std::vector<uint8_t>& out);

inline CodecPlane planeOf(void* data, uint32_t stride, uint64_t size) {
    return CodecPlane{static_cast<uint64_t>(reinterpret_cast<uintptr_t>(data)), stride, static_cast<uint32_t>(size)};
}

}  // namespace norvik_test
