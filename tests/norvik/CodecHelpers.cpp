#include "CodecHelpers.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace norvik_test {

const std::vector<TypeInfo>& allTypes() {
    static const std::vector<TypeInfo> types = {
        {101, 3, 8, 1, 1, true, false},   {102, 4, 8, 1, 1, true, false},   {103, 3, 8, 1, 1, false, false},
        {104, 3, 8, 2, 1, false, false},  {105, 3, 8, 2, 2, false, false},  {106, 4, 8, 1, 1, false, false},
        {107, 1, 8, 1, 1, false, true},   {108, 3, 10, 2, 1, false, false}, {109, 3, 10, 1, 1, true, false},
        {110, 4, 10, 1, 1, true, false},  {111, 3, 12, 1, 1, true, false},  {112, 4, 12, 1, 1, true, false},
        {113, 3, 14, 1, 1, true, false},  {114, 4, 14, 1, 1, true, false},  {115, 1, 10, 1, 1, false, true},
        {118, 3, 10, 1, 1, false, false}, {123, 3, 10, 2, 2, false, false},
    };
    return types;
}

const TypeInfo& typeInfo(uint32_t type) {
    for (const auto& t : allTypes())
        if (t.type == type) return t;
    throw std::invalid_argument("no such type");
}

uint32_t Picture::planeWidth(int p) const {
    return (p == 1 || p == 2) && !info.rgb ? (width + info.chromaX - 1) / info.chromaX : width;
}
uint32_t Picture::planeHeight(int p) const {
    return (p == 1 || p == 2) && !info.rgb ? (height + info.chromaY - 1) / info.chromaY : height;
}

Picture makePicture(uint32_t type, uint32_t width, uint32_t height, uint32_t seed, bool noise) {
    Picture pic;
    pic.info = typeInfo(type);
    pic.width = width;
    pic.height = height;
    std::mt19937 rng(seed);
    const double full = (1 << pic.info.bits) - 1;
    std::normal_distribution<double> jitter(0.0, full / 200.0);
    std::uniform_int_distribution<int> any(0, static_cast<int>(full));
    for (int p = 0; p < pic.info.planes; ++p) {
        const uint32_t w = pic.planeWidth(p), h = pic.planeHeight(p);
        auto& plane = pic.planes[p];
        plane.resize(static_cast<size_t>(w) * h);
        const double phase = (seed % 7) + p * 1.3;
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x) {
                const double smooth = 0.5 + 0.3 * std::sin(x * 0.05 + phase) * std::cos(y * 0.07 - phase) +
                                      ((x / 13 + y / 17) % 5 == 0 ? 0.15 : 0.0);  // with edges
                const double v = noise ? any(rng) : smooth * full + jitter(rng);
                plane[static_cast<size_t>(y) * w + x] = static_cast<uint16_t>(std::clamp(v, 0.0, full));
            }
    }
    return pic;
}

Handle::Handle() {
    norvik_library_init();
    if (norvik_open(&m_handle) != NORVIK_OK) throw std::runtime_error("norvik_open failed");
}

Handle::~Handle() {
    norvik_close(m_handle);
    norvik_library_close();
}

std::vector<uint8_t> streamFormat(uint32_t type, uint32_t width, uint32_t height, uint32_t sliceHeight,
                                  uint32_t colorSpace, uint32_t range) {
    std::vector<uint8_t> block(NORVIK_STREAM_FORMAT_SIZE);
    const int32_t r =
        norvik_make_stream_format(type, colorSpace, range, width, height, 0, sliceHeight, block.data(), 24);
    if (r != NORVIK_OK) throw std::runtime_error("norvik_make_stream_format failed: " + std::to_string(r));
    return block;
}

CodecFormat record(uint32_t type, uint32_t flags, uint32_t colorSpace, uint32_t range) {
    return CodecFormat{0, 0, NORVIK_FORM_EXTENDED, NORVIK_FORM_VERSION, type, flags, colorSpace, range, 0};
}

namespace {

// A picture's planes as the codec reads and writes them, each in an exact-size
// buffer: 1 byte per sample at 8 bits, else 2 (little-endian).
struct PlaneBuffers {
    std::vector<uint8_t> bytes[4];
    CodecPlane planes[4] = {};
    size_t sample;

    explicit PlaneBuffers(const Picture& pic) : sample(pic.info.bits == 8 ? 1 : 2) {
        for (int p = 0; p < pic.info.planes; ++p) {
            bytes[p].resize(pic.planes[p].size() * sample);
            for (size_t i = 0; i < pic.planes[p].size(); ++i)
                std::memcpy(&bytes[p][sample * i], &pic.planes[p][i], sample);  // little-endian host
            planes[p] = planeOf(bytes[p].data(), static_cast<uint32_t>(pic.planeWidth(p) * sample), bytes[p].size());
        }
    }

    // Back into `pic`'s samples, rows mirrored when the planes were written bottom-up.
    void read(Picture& pic, bool bottomUp) const {
        for (int p = 0; p < pic.info.planes; ++p) {
            const size_t w = pic.planeWidth(p), h = pic.planeHeight(p);
            for (size_t y = 0; y < h; ++y)
                for (size_t x = 0; x < w; ++x) {
                    const uint8_t* v = &bytes[p][((bottomUp ? h - 1 - y : y) * w + x) * sample];
                    pic.planes[p][y * w + x] = static_cast<uint16_t>(sample == 1 ? v[0] : v[0] | v[1] << 8);
                }
        }
    }
};

}  // namespace

std::vector<uint8_t> encode(uint32_t handle, const std::vector<uint8_t>& block, const CodecFormat& source,
                            const CodecPlane planes[4], uint32_t method, uint32_t k) {
    const NorvikEncodeOptions options{method, k};
    if (norvik_compress_begin(handle, &source, block.data(), 24, &options) != NORVIK_OK)
        throw std::runtime_error("norvik_compress_begin failed");
    uint32_t bound = 0, written = 0;
    norvik_compress_bound(handle, &bound);
    std::vector<uint8_t> frame(bound);
    const int32_t r = norvik_compress(handle, planes, frame.data(), bound, &written);
    norvik_compress_end(handle);
    if (r != NORVIK_OK) throw std::runtime_error("norvik_compress failed: " + std::to_string(r));
    frame.resize(written);
    return frame;
}

std::vector<uint8_t> encodePlanar(uint32_t handle, const std::vector<uint8_t>& block, const Picture& pic,
                                  uint32_t method, uint32_t k) {
    CodecFormat source = record(pic.info.type);
    source.width = pic.width;
    source.height = pic.height;
    return encode(handle, block, source, PlaneBuffers(pic).planes, method, k);
}

int32_t decodePlanar(uint32_t handle, const std::vector<uint8_t>& block, const std::vector<uint8_t>& frame,
                     Picture& out, bool bottomUp) {
    CodecFormat filled = record(0, 0, 0, 0);
    const CodecFormat wanted = record(out.info.type, bottomUp ? NORVIK_FLAG_BOTTOM_UP : 0);
    int32_t r = norvik_decompress_begin(handle, block.data(), 24, &wanted, &filled);
    if (r != NORVIK_OK) return r;
    for (int p = 0; p < out.info.planes; ++p) out.planes[p].assign(size_t{out.planeWidth(p)} * out.planeHeight(p), 0);
    PlaneBuffers buffers(out);
    r = norvik_decompress(handle, frame.data(), static_cast<uint32_t>(frame.size()), buffers.planes);
    norvik_decompress_end(handle);
    buffers.read(out, bottomUp);
    return r;
}

int32_t decodePacked(uint32_t handle, const std::vector<uint8_t>& block, const std::vector<uint8_t>& frame,
                     const CodecFormat& wanted, uint32_t height, uint32_t stride, std::vector<uint8_t>& out) {
    CodecFormat filled = record(0, 0, 0, 0);
    int32_t r = norvik_decompress_begin(handle, block.data(), 24, &wanted, &filled);
    if (r != NORVIK_OK) return r;
    out.assign(static_cast<size_t>(height) * stride, 0xEE);
    const CodecPlane planes[4] = {planeOf(out.data(), stride, out.size()), {}, {}, {}};
    r = norvik_decompress(handle, frame.data(), static_cast<uint32_t>(frame.size()), planes);
    norvik_decompress_end(handle);
    return r;
}

}  // namespace norvik_test
