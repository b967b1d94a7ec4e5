// The pixel-format catalogue and the codec binding, against a codec library
// whose answers the tests set.
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <vector>

#include "StubCodec.h"
#include "codec/CodecText.h"
#include "codec/NorvikCodec.h"
#include "codec/NorvikError.h"
#include "formats/Catalogue.h"
#include "log/Names.h"
#include "prsdk/PrPixelFormats.h"

using namespace prsdk;

namespace {

std::vector<std::string> codesOf(const std::vector<FormatInfo>& rows) {
    std::vector<std::string> codes;
    for (const FormatInfo& row : rows) codes.push_back(fourccToText(row.pixelFormat, false));
    return codes;
}

// The compressed format block of a clip; the stub only needs some bytes.
const unsigned char kBlock[24] = {'N', 'V', 'K', 'S', 1};
const CodecBuffer kBuffer{kBlock, sizeof(kBlock)};

class Catalogue : public ::testing::Test {
protected:
    void SetUp() override {
        norvik_stub_reset();
        buildPixelFormatTables({});
    }
    void TearDown() override {
        EXPECT_EQ(norvik_stub_library_users(), 0) << "every library init is closed";
        EXPECT_EQ(norvik_stub_open_handles(), 0) << "every handle is closed";
    }
};

// The text of what `call` throws ("" when it returns).
template <typename Call>
std::string thrown(Call call) {
    try {
        call();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

}  // namespace

// The narrowing to a subtype's preferred formats is in the golden texts (type-*);
// here the decode formats it leaves whole.
TEST_F(Catalogue, DecodeFormatsStayWholeWithoutAPreferredOne) {
    const uint32_t accepted[] = {4, 1, 5, 1, 49, 1, 2, 2};  // yuy2, uyvy, vuyx (Rec.601) and bgra
    norvik_stub_accept_outputs(accepted, 4);
    norvik_stub_set_stream(64, 32, 106, 1, 1);  // 8-bit YUVA, but neither vuya nor VUYA is possible
    EXPECT_EQ(codesOf(getDecodeFormats(kBuffer)), (std::vector<std::string>{"yuy2", "uyvy", "vuyx", "bgra"}));

    norvik_stub_set_stream(64, 32, 100, 1, 1);  // a type with no subtype: unfiltered
    EXPECT_EQ(codesOf(getDecodeFormats(kBuffer)).size(), 4u);

    norvik_stub_accept_outputs(nullptr, 0);
    EXPECT_TRUE(getDecodeFormats(kBuffer).empty());
}

TEST_F(Catalogue, FailingCodecSessionsReachTheCaller) {
    norvik_stub_fail_init(5);
    EXPECT_EQ(thrown([] { getDecodeFormats(kBuffer); }),
              "Norvik error (5): stub2-5: NorvikCodec(): norvik_library_init()");
    norvik_stub_fail_init(0);
    norvik_stub_fail_open(3);
    EXPECT_THROW(getCompressibleFormats(emptyCodecFormat()), NorvikError);
}

TEST_F(Catalogue, HostTopLeftAnswersReachTheCodecFormats) {
    buildPixelFormatTables({PrPixelFormat_BGRA_4444_16u, PrPixelFormat_UYVY_422_8u_601});
    buildPixelFormatTables({PrPixelFormat_BGRA_4444_16u});  // rebuilt from the static rows, not appended
    ASSERT_EQ(formatInfos().size(), 17u);
    ASSERT_EQ(subTypeInfos().size(), 17u);
    EXPECT_FALSE(GetFormatInfo_by_pixelFormat(PrPixelFormat_UYVY_422_8u_601).isTopLeft());

    // bgra not top-left: flipped, full range; yuy2: limited range. (Wrong flags, the
    // flip and the 16-bit scale, fail FrameImport's pictures; a wrong range does not.)
    const CodecFormat bgra = formatInfoToCodecFormat(GetFormatInfo_by_pixelFormat(PrPixelFormat_BGRA_4444_8u));
    EXPECT_EQ(std::vector<uint32_t>({bgra.form, bgra.version, bgra.type, bgra.flags, bgra.colorSpace, bgra.range}),
              std::vector<uint32_t>({254, 1, 2, 1, 2, 2}));
    EXPECT_EQ(formatInfoToCodecFormat(GetFormatInfo_by_pixelFormat(PrPixelFormat_YUYV_422_8u_601)).range, 1u);
}

TEST_F(Catalogue, LookupsNameWhatTheyCannotFind) {
    EXPECT_EQ(thrown([] { GetSubTypeInfo_by_nrvTypeComp(100); }),
              "GetSubTypeInfo_by_nrvTypeComp(): type not found: stub1-100 (100)");
    // A pixel format outside the catalogue: AsyncImporter's log shows its message.
}

TEST_F(Catalogue, CompressibleFormatsAreWhatTheEncoderAccepts) {
    const uint32_t sources[] = {2, 31};
    norvik_stub_accept_sources(sources, 2);
    CodecFormat compressed = emptyCodecFormat();
    compressed.type = 102;
    EXPECT_EQ(codesOf(getCompressibleFormats(compressed)), (std::vector<std::string>{"bgra", "Bgra"}));
}

TEST(CodecText, ErrorContextsNameTheCallAndItsArguments) {
    norvik_stub_reset();
    norvik_stub_set_stream(0, 0, 0, 0, 0);  // every stream query fails
    NorvikCodec codec;
    CodecFormat out = emptyCodecFormat();
    const std::string query = thrown([&] { codec.decompressQuery(kBuffer, nullptr, out); });
    EXPECT_TRUE(std::regex_match(
        query, std::regex(R"(Norvik error \(4\): stub2-4: decompressQuery\(\{0x[0-9A-F]{16},24\}, null\))")))
        << query;
    norvik_stub_set_params(10, 1);
    EXPECT_EQ(thrown([&] { codec.getParam(9, 11); }),
              "Norvik error (11): stub2-11: getParam(stub4-9(9), stub1-11(11))");

    const CodecFormat nine{1920, 1080, 254, 1, 4, 1, 2, 1, 2};
    EXPECT_EQ(formatToText(&nine), "{{1920,1080,stub1-254(254)},1,stub1-4(4),1,stub3-2(2),1,2}");
    const CodecFormat shortForm{64, 48, 5, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(formatToText(&shortForm), "{64,48,stub1-5(5)}");
    EXPECT_EQ(formatToText(nullptr), "null");
    EXPECT_EQ(bufferToText(nullptr), "null");
    const CodecPlane planes[4] = {{0xABCDEF, 7680, 8294400}, {}, {}, {}};
    EXPECT_EQ(planesToText(planes),
              "{{0x0000000000ABCDEF,7680,8294400},{0x0000000000000000,0,0},{0x0000000000000000,0,0},"
              "{0x0000000000000000,0,0}}");
}
