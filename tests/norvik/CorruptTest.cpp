// Malformed frames, blocks, planes and calls give error results; nothing is read
// or written outside the given buffers (the buffers are exact-size heap blocks, so
// AddressSanitizer sees any stray access). Random damage to frames and blocks is
// the norvik_decode_fuzz target's.
#include <cstring>
#include <gtest/gtest.h>
#include <memory>

#include "CodecHelpers.h"

using namespace norvik_test;

namespace {

// Decodes `bytes` (copied into an exact-size heap block) into an exact-size output.
int32_t decodeExact(uint32_t h, const std::vector<uint8_t>& bytes, uint32_t stride, uint32_t height) {
    std::unique_ptr<uint8_t[]> frame(new uint8_t[bytes.size() + (bytes.empty() ? 1 : 0)]);
    if (!bytes.empty()) std::memcpy(frame.get(), bytes.data(), bytes.size());
    std::unique_ptr<uint8_t[]> out(new uint8_t[size_t{stride} * height]);
    const CodecPlane planes[4] = {planeOf(out.get(), stride, size_t{stride} * height), {}, {}, {}};
    return norvik_decompress(h, frame.get(), static_cast<uint32_t>(bytes.size()), planes);
}

struct Stream {
    uint32_t type, width, height, slice, output, stride;
};

const Stream kStreams[] = {
    {104, 24, 8, 2, 4, 48}, {102, 9, 7, 3, 2, 36}, {123, 12, 8, 4, 11, 32}, {113, 5, 6, 6, 31, 40}};

}  // namespace

TEST(CorruptFrames, EveryTruncationIsRefused) {
    Handle h;
    for (const Stream& s : kStreams) {
        const auto block = streamFormat(s.type, s.width, s.height, s.slice);
        const auto frame = encodePlanar(h.get(), block, makePicture(s.type, s.width, s.height, 2));
        CodecFormat filled = record(0, 0, 0, 0);
        const CodecFormat wanted = record(s.output);
        ASSERT_EQ(norvik_decompress_begin(h.get(), block.data(), 24, &wanted, &filled), 0);
        ASSERT_EQ(decodeExact(h.get(), frame, s.stride, s.height), 0);
        for (size_t len = 0; len < frame.size(); ++len) {
            std::vector<uint8_t> cut(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(len));
            EXPECT_EQ(decodeExact(h.get(), cut, s.stride, s.height), NORVIK_E_FRAME) << s.type << " len " << len;
            if (len >= 8) {  // the same cut with a matching size field reaches the tables and payloads
                for (int i = 0; i < 4; ++i) cut[4 + i] = static_cast<uint8_t>(len >> (8 * i));
                EXPECT_EQ(decodeExact(h.get(), cut, s.stride, s.height), NORVIK_E_FRAME) << s.type << " len " << len;
            }
        }
        norvik_decompress_end(h.get());
    }
}

TEST(CorruptFormatBlocks, EveryTruncationAndBadFieldIsRefused) {
    Handle h;
    const auto good = streamFormat(105, 64, 32, 8);
    CodecFormat out = record(0, 0, 0, 0);
    ASSERT_EQ(norvik_decompress_query(h.get(), good.data(), 24, nullptr, &out), 0);
    EXPECT_EQ(std::vector<uint32_t>({out.width, out.height, out.form, out.type, out.colorSpace, out.range}),
              std::vector<uint32_t>({64, 32, 254, 105, 1, 1}));
    for (uint32_t len = 0; len < 24; ++len) {
        std::unique_ptr<uint8_t[]> cut(new uint8_t[len + 1]);
        std::memcpy(cut.get(), good.data(), len);
        EXPECT_EQ(norvik_decompress_query(h.get(), cut.get(), len, nullptr, &out), NORVIK_E_STREAM_FORMAT) << len;
    }
    struct Edit {
        size_t at;
        uint8_t value;
        const char* what;
    };
    const Edit edits[] = {
        {0, 'X', "magic"},         {4, 2, "version"},           {5, 100, "type"},    {5, 116, "type"},
        {6, 0, "colour space"},    {6, 3, "colour space"},      {7, 0, "range"},     {7, 9, "range"},
        {8, 0, "width 0"},         {8, 63, "odd width"},        {12, 0, "height 0"}, {12, 31, "odd height"},
        {20, 0, "slice height 0"}, {20, 7, "odd slice height"}, {22, 1, "reserved"}, {11, 1, "huge width"},
        {16, 9, "field type"},
    };
    for (const Edit& e : edits) {
        auto bad = good;
        bad[e.at] = e.value;
        if (e.at == 8 || e.at == 12 || e.at == 20) bad[e.at + 1] = 0;
        EXPECT_EQ(norvik_decompress_query(h.get(), bad.data(), 24, nullptr, &out), NORVIK_E_STREAM_FORMAT) << e.what;
    }
}

TEST(BadCalls, PlanesTooSmallAreRefusedBeforeWriting) {
    Handle h;
    const auto block = streamFormat(101, 10, 4, 2);
    const auto frame = encodePlanar(h.get(), block, makePicture(101, 10, 4, 1));
    CodecFormat filled = record(0, 0, 0, 0);
    const CodecFormat wanted = record(1);
    ASSERT_EQ(norvik_decompress_begin(h.get(), block.data(), 24, &wanted, &filled), 0);
    std::vector<uint8_t> out(200, 0xAB);
    const auto f = [&](uint64_t data, uint32_t stride, uint32_t size) {
        const CodecPlane planes[4] = {{data, stride, size}, {}, {}, {}};
        return norvik_decompress(h.get(), frame.data(), static_cast<uint32_t>(frame.size()), planes);
    };
    const uint64_t addr = reinterpret_cast<uintptr_t>(out.data());
    EXPECT_EQ(f(addr, 39, 200), NORVIK_E_PLANES);  // a row needs 40 bytes
    EXPECT_EQ(f(addr, 40, 159), NORVIK_E_PLANES);  // four rows need 160
    EXPECT_EQ(f(0, 40, 160), NORVIK_E_PLANES);
    EXPECT_EQ(norvik_decompress(h.get(), frame.data(), static_cast<uint32_t>(frame.size()), nullptr), NORVIK_E_PLANES);
    EXPECT_EQ(std::count(out.begin(), out.end(), 0xAB), 200);
    EXPECT_EQ(f(addr, 40, 160), NORVIK_OK);
    EXPECT_EQ(std::count(out.begin() + 160, out.end(), 0xAB), 40);
}

TEST(BadCalls, HandlesRecordsAndOrder) {
    const auto block = streamFormat(104, 16, 4);
    CodecFormat out = record(0, 0, 0, 0);
    const CodecFormat wanted = record(4);
    uint32_t value = 4;
    const CodecPlane planes[4] = {};
    EXPECT_EQ(norvik_decompress_query(12345, block.data(), 24, nullptr, &out), NORVIK_E_HANDLE);
    EXPECT_EQ(norvik_decompress_begin(0, block.data(), 24, &wanted, &out), NORVIK_E_HANDLE);
    EXPECT_EQ(norvik_decompress(0, block.data(), 24, planes), NORVIK_E_HANDLE);
    EXPECT_EQ(norvik_get_param(0, 7, &value, 4), NORVIK_E_HANDLE);
    EXPECT_EQ(norvik_close(0), NORVIK_E_HANDLE);
    EXPECT_EQ(norvik_open(nullptr), NORVIK_E_ARGUMENT);

    Handle h;
    EXPECT_EQ(norvik_decompress(h.get(), block.data(), 24, planes), NORVIK_E_STATE);
    EXPECT_EQ(norvik_decompress_end(h.get()), NORVIK_E_STATE);
    EXPECT_EQ(norvik_decompress_query(h.get(), block.data(), 24, nullptr, nullptr), NORVIK_E_ARGUMENT);
    EXPECT_EQ(norvik_decompress_query(h.get(), nullptr, 24, nullptr, &out), NORVIK_E_STREAM_FORMAT);
    EXPECT_EQ(norvik_get_param(h.get(), 7, &value, 2), NORVIK_E_ARGUMENT);
    EXPECT_EQ(norvik_get_param(h.get(), 7, nullptr, 4), NORVIK_E_ARGUMENT);
    CodecFormat badForm = wanted;
    badForm.form = 3;
    EXPECT_EQ(norvik_decompress_query(h.get(), block.data(), 24, &badForm, &out), NORVIK_E_RECORD);
    for (const CodecFormat& w : {record(3), record(101), record(2, NORVIK_FLAG_RANGE_32768), record(4, 4),
                                 record(4, 0, 0, 1), record(4, 0, 1, 3)})
        EXPECT_EQ(norvik_decompress_query(h.get(), block.data(), 24, &w, &out), NORVIK_E_OUTPUT) << w.type;
    CodecFormat sized = wanted;
    sized.width = 8;
    EXPECT_EQ(norvik_decompress_query(h.get(), block.data(), 24, &sized, &out), NORVIK_E_OUTPUT);
    const NorvikEncodeOptions badOptions{4, NORVIK_AUTO};
    CodecFormat source = record(104);
    source.width = 16, source.height = 4;
    EXPECT_EQ(norvik_compress_begin(h.get(), &source, block.data(), 24, &badOptions), NORVIK_E_ARGUMENT);
    source.width = 18;
    EXPECT_EQ(norvik_compress_begin(h.get(), &source, block.data(), 24, nullptr), NORVIK_E_SOURCE);
    uint32_t written = 0;
    uint8_t buffer[16];
    EXPECT_EQ(norvik_compress(h.get(), planes, buffer, 16, &written), NORVIK_E_STATE);
}
