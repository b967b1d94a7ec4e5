// The answers the importer relies on: parameters, names, what the encoder says it
// accepts, and the library's users. Decoding into every output is ConversionTest's.
#include <gtest/gtest.h>
#include <set>
#include <string>

#include "CodecHelpers.h"

using namespace norvik_test;

TEST(Queries, ParametersForTypesOneToSixtyOne) {
    Handle h;
    const std::set<uint32_t> outputs = {1, 2, 4, 5, 11, 15, 16, 19, 31, 32, 49, 50};
    for (uint32_t t = 1; t <= 61; ++t) {
        uint32_t flip = t, range = t;
        const bool output = outputs.count(t) != 0;
        EXPECT_EQ(norvik_get_param(h.get(), NORVIK_PARAM_CAN_FLIP, &flip, 4) == 0, output) << t;
        EXPECT_EQ(norvik_get_param(h.get(), NORVIK_PARAM_RANGE_32768, &range, 4) == 0, output) << t;
        if (!output) continue;
        EXPECT_EQ(std::make_pair(flip, range), std::make_pair(1u, t == 31 || t == 32 ? 1u : 0u)) << t;
    }
    uint32_t value = 2;
    EXPECT_EQ(norvik_get_param(h.get(), 8, &value, 4), NORVIK_E_PARAM);
}

TEST(Queries, StringsAreNeverNull) {
    for (uint32_t category = 0; category <= 5; ++category)
        for (int32_t n = -3; n <= 300; ++n) {
            const char* s = norvik_get_string(category, n);
            ASSERT_TRUE(s != nullptr && *s != '\0') << category << ", " << n;
        }
    EXPECT_EQ(std::string(norvik_get_string(NORVIK_STR_TYPE, 7)), "unknown type 7");
    std::set<std::string> names;
    for (const TypeInfo& t : allTypes()) names.insert(norvik_get_string(NORVIK_STR_TYPE, int32_t(t.type)));
    EXPECT_EQ(names.size(), allTypes().size());
}

// The encoder's accepted sources, asked the importer's way: 128 x 128 sources of
// the output types, a compressed type with no size as the destination.
TEST(Queries, CompressQueryAnswersWhatTheEncoderAccepts) {
    Handle h;
    const uint32_t sources[] = {4, 5, 50, 49, 2, 19, 1, 16, 11, 15, 31, 32};
    const auto accepted = [&](uint32_t type) {
        std::set<uint32_t> out;
        for (uint32_t s : sources) {
            CodecFormat src = record(s);
            src.width = src.height = 128;
            const CodecFormat dst = record(type, 0, 0, 0);
            uint32_t maxSize = 0;
            if (norvik_compress_query(h.get(), &src, &dst, &maxSize, nullptr) == 0) {
                EXPECT_GT(maxSize, 128u * 128u) << type << " <- " << s;
                out.insert(s);
            }
        }
        return out;
    };
    const std::set<uint32_t> rgb = {1, 2, 15, 16, 19, 31, 32};
    for (uint32_t t : {101u, 102u, 109u, 110u, 111u, 112u, 113u, 114u}) EXPECT_EQ(accepted(t), rgb) << t;
    for (uint32_t t : {103u, 106u, 118u}) EXPECT_EQ(accepted(t), (std::set<uint32_t>{49, 50})) << t;
    for (uint32_t t : {104u, 105u, 108u, 123u}) EXPECT_EQ(accepted(t), (std::set<uint32_t>{4, 5, 11})) << t;
    for (uint32_t t : {107u, 115u}) EXPECT_EQ(accepted(t), (std::set<uint32_t>{4, 5, 11, 49, 50})) << t;
    EXPECT_TRUE(accepted(100).empty());
}

// What compress_query accepts compresses for real: 8-bit 4:2:2 from bottom-up UYVY,
// and 12-bit RGB from BGRA16 in the 0..32768 range.
TEST(Queries, PackedSourcesEncode) {
    Handle h;
    const auto roundTrip = [&](uint32_t type, uint32_t sourceType, uint32_t flags, uint32_t w, uint32_t hgt,
                               std::vector<uint8_t>& src, uint32_t stride) {
        const auto block = streamFormat(type, w, hgt);
        CodecFormat source = record(sourceType, flags);
        source.width = w, source.height = hgt;
        const CodecPlane planes[4] = {planeOf(src.data(), stride, src.size()), {}, {}, {}};
        const auto frame = encode(h.get(), block, source, planes);
        std::vector<uint8_t> out;
        EXPECT_EQ(decodePacked(h.get(), block, frame, record(sourceType, flags), hgt, stride, out), 0);
        return out;
    };
    std::vector<uint8_t> uyvy(16 * 3);
    for (size_t i = 0; i < uyvy.size(); ++i) uyvy[i] = static_cast<uint8_t>(16 + i * 7 % 200);
    EXPECT_EQ(roundTrip(104, 5, NORVIK_FLAG_BOTTOM_UP, 8, 3, uyvy, 16), uyvy);

    std::vector<uint8_t> bgra16(4 * 2 * 8);
    for (size_t i = 0; i < bgra16.size(); i += 2) bgra16[i + 1] = static_cast<uint8_t>(i % 128);  // <= 32767
    const auto back = roundTrip(112, 31, NORVIK_FLAG_RANGE_32768, 4, 2, bgra16, 32);
    for (size_t i = 0; i < back.size(); i += 2) {
        const int want = bgra16[i] | bgra16[i + 1] << 8, got = back[i] | back[i + 1] << 8;
        EXPECT_LE(std::abs(want - got), 4) << i;  // 12 bits of 32768 steps
    }
}

TEST(Queries, LibraryUsersKeepTheirHandlesUntilTheLastLeaves) {
    norvik_library_init();
    uint32_t mine = 0;
    ASSERT_EQ(norvik_open(&mine), 0);
    {
        Handle other;  // a second user comes and goes
    }
    uint32_t value = 2;
    EXPECT_EQ(norvik_get_param(mine, NORVIK_PARAM_CAN_FLIP, &value, 4), 0);
    norvik_library_close();  // the last user: handles left open are closed
    EXPECT_EQ(norvik_get_param(mine, NORVIK_PARAM_CAN_FLIP, &value, 4), NORVIK_E_HANDLE);
}
