// Fuzzes the codec library's stream block check and frame decoder: the first byte
// picks the output, the next 24 bytes are tried as a stream format block (a small
// valid block stands in when they are refused or describe a large picture), and
// the rest is the frame. Frame and output are exact-size heap blocks. Each frame
// is decoded by every variant of the decoder (NORVIK_SIMD reference, portable,
// and the best the processor has), which must write the same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "norvik/norvik_common.h"

namespace {

const uint32_t kOutputs[] = {1, 2, 4, 5, 11, 15, 16, 19, 31, 32, 49, 50};

uint32_t rowBytes(uint32_t type, uint32_t w) {
    if (type == 4 || type == 5) return (w + 1) / 2 * 4;
    if (type == 11) return (w + 5) / 6 * 16;
    return w * (type == 31 || type == 32 ? 8 : 4);
}

struct Library {
    uint32_t handle = 0;
    Library() {
        norvik_library_init();
        norvik_open(&handle);
        norvik_set_thread_count(handle, 2);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Library lib;
    if (size < 25) return 0;
    const uint8_t pick = data[0];
    CodecFormat info{0, 0, NORVIK_FORM_EXTENDED, NORVIK_FORM_VERSION, 0, 0, 0, 0, 0}, wanted = info;
    wanted.type = kOutputs[pick % 12];
    wanted.flags = (pick >> 4) & 3u;
    wanted.colorSpace = 1u + ((pick >> 6) & 1u);
    wanted.range = 1u + (pick >> 7);
    std::unique_ptr<uint8_t[]> block(new uint8_t[24]);
    std::memcpy(block.get(), data + 1, 24);
    if (norvik_decompress_query(lib.handle, block.get(), 24, nullptr, &info) != NORVIK_OK ||
        uint64_t{info.width} * info.height > 128 * 128) {
        // A small stream of a type the pick names; not every number is a type.
        if (norvik_make_stream_format(101 + pick % 23, 1, 1, 16, 8, 0, 2, block.get(), 24) != NORVIK_OK) return 0;
    }
    if (norvik_decompress_begin(lib.handle, block.get(), 24, &wanted, &info) != NORVIK_OK) {
        wanted.flags &= 1u;  // the 0..32768 range is refused for 8 and 10-bit outputs
        if (norvik_decompress_begin(lib.handle, block.get(), 24, &wanted, &info) != NORVIK_OK) return 0;
    }
    norvik_decompress_end(lib.handle);
    const size_t frameSize = size - 25;
    std::unique_ptr<uint8_t[]> frame(new uint8_t[frameSize + 1]);
    std::memcpy(frame.get(), data + 25, frameSize);
    const uint32_t stride = rowBytes(wanted.type, info.width);
    const size_t outSize = size_t{stride} * info.height;
    std::unique_ptr<uint8_t[]> first;
    for (const char* simd : {"reference", "portable", ""}) {
        setenv("NORVIK_SIMD", simd, 1);
        if (norvik_decompress_begin(lib.handle, block.get(), 24, &wanted, &info) != NORVIK_OK) std::abort();
        std::unique_ptr<uint8_t[]> out(new uint8_t[outSize]);
        std::memset(out.get(), 0xA5, outSize);
        const CodecPlane planes[4] = {{reinterpret_cast<uintptr_t>(out.get()), stride, stride * info.height}, {}, {}, {}};
        const int32_t r = norvik_decompress(lib.handle, frame.get(), static_cast<uint32_t>(frameSize), planes);
        norvik_decompress_end(lib.handle);
        if (r != NORVIK_OK) break;  // a refused frame may leave any part written
        if (!first)
            first = std::move(out);
        else if (std::memcmp(first.get(), out.get(), outSize) != 0)
            std::abort();  // the variants disagree
    }
    return 0;
}
