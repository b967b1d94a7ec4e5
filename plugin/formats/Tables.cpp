// The static rows of the catalogue and the lookups over them.
#include <stdexcept>
#include <string>

#include "codec/NorvikLibrary.h"
#include "formats/Catalogue.h"
#include "formats/StaticTables.h"
#include "log/Names.h"
#include "prsdk/PrPixelFormats.h"

using namespace prsdk;

namespace {

// The process-wide tables, written only by buildPixelFormatTables.
std::vector<SubTypeInfo> g_subTypeInfos;
std::vector<FormatInfo> g_formatInfos;

constexpr int32_t pf(const char (&code)[5]) { return static_cast<int32_t>(makeFourCC(code)); }

const std::set<int32_t> kPacked422 = {pf("yuy2"), pf("yuy3"), pf("uyvy"), pf("uyv7")};

}  // namespace

std::vector<SubTypeInfo> staticSubTypeInfos() {
    return {
        {makeFourCCBigEndian("N8RA"), u"Norvik 8-bit RGBA", 102, 1, 1, 1, {}},
        {makeFourCCBigEndian("N8RG"), u"Norvik 8-bit RGB", 101, 1, 1, 0, {}},
        {makeFourCCBigEndian("N8YA"), u"Norvik 8-bit YUVA 4:4:4:4", 106, 1, 1, 3, {pf("vuya"), pf("VUYA")}},
        {makeFourCCBigEndian("N8Y4"), u"Norvik 8-bit YUV 4:4:4", 103, 1, 1, 2, {pf("vuyx"), pf("vux7")}},
        {makeFourCCBigEndian("N8Y2"), u"Norvik 8-bit YUV 4:2:2", 104, 2, 1, 2, kPacked422},
        {makeFourCCBigEndian("N8Y0"), u"Norvik 8-bit YUV 4:2:0", 105, 2, 2, 2, kPacked422},
        {makeFourCCBigEndian("N8G0"), u"Norvik 8-bit YUV 4:0:0 greyscale", 107, 1, 1, 2, kPacked422},
        {makeFourCCBigEndian("N0RA"), u"Norvik 10-bit RGBA", 110, 1, 1, 1, {}},
        {makeFourCCBigEndian("N0RG"), u"Norvik 10-bit RGB", 109, 1, 1, 0, {}},
        {makeFourCCBigEndian("N0Y4"), u"Norvik 10-bit YUV 4:4:4", 118, 1, 1, 2, {}},
        {makeFourCCBigEndian("N0Y2"), u"Norvik 10-bit YUV 4:2:2", 108, 2, 1, 2, {}},
        {makeFourCCBigEndian("N0Y0"), u"Norvik 10-bit YUV 4:2:0", 123, 2, 2, 2, {pf("v210"), pf("v211")}},
        {makeFourCCBigEndian("N0G0"), u"Norvik 10-bit YUV 4:0:0 greyscale", 115, 1, 1, 2, {}},
        {makeFourCCBigEndian("N2RA"), u"Norvik 12-bit RGBA", 112, 1, 1, 1, {}},
        {makeFourCCBigEndian("N2RG"), u"Norvik 12-bit RGB", 111, 1, 1, 0, {}},
        {makeFourCCBigEndian("N4RA"), u"Norvik 14-bit RGBA", 114, 1, 1, 1, {}},
        {makeFourCCBigEndian("N4RG"), u"Norvik 14-bit RGB", 113, 1, 1, 0, {}},
    };
}

std::vector<FormatInfo> staticFormatInfos() {
    constexpr uint32_t kLimited = FormatInfo::kLimitedRange;
    constexpr uint32_t k16u = FormatInfo::kAdobe16u;
    return {
        {PrPixelFormat_YUYV_422_8u_601, "YUYV 4:2:2 [8] Rec.601", 4, 1, kLimited},
        {PrPixelFormat_YUYV_422_8u_709, "YUYV 4:2:2 [8] Rec.709", 4, 2, kLimited},
        {PrPixelFormat_UYVY_422_8u_601, "UYVY 4:2:2 [8] Rec.601", 5, 1, kLimited},
        {PrPixelFormat_UYVY_422_8u_709, "UYVY 4:2:2 [8] Rec.709", 5, 2, kLimited},
        {PrPixelFormat_VUYA_4444_8u, "VUYA 4:4:4:4 [8] Rec.601", 50, 1, kLimited},
        {PrPixelFormat_VUYA_4444_8u_709, "VUYA 4:4:4:4 [8] Rec.709", 50, 2, kLimited},
        {PrPixelFormat_VUYX_4444_8u, "VUYX 4:4:4 [8] Rec.601", 49, 1, kLimited},
        {PrPixelFormat_VUYX_4444_8u_709, "VUYX 4:4:4 [8] Rec.709", 49, 2, kLimited},
        {PrPixelFormat_BGRA_4444_8u, "BGRA [8]", 2, 2, 0},
        {PrPixelFormat_ARGB_4444_8u, "ARGB [8]", 19, 2, 0},
        {PrPixelFormat_BGRX_4444_8u, "BGRX [8]", 1, 2, 0},
        {PrPixelFormat_XRGB_4444_8u, "XRGB [8]", 16, 2, 0},
        {PrPixelFormat_V210_422_10u_601, "v210 4:2:2 [10] Rec.601", 11, 1, kLimited},
        {PrPixelFormat_V210_422_10u_709, "v210 4:2:2 [10] Rec.709", 11, 2, kLimited},
        {PrPixelFormat_RGB_444_10u, "RGB [10]", 15, 2, 0},
        {PrPixelFormat_BGRA_4444_16u, "BGRA [16]", 31, 2, k16u},
        {PrPixelFormat_BGRX_4444_16u, "BGRX [16]", 32, 2, k16u},
    };
}

const std::vector<SubTypeInfo>& subTypeInfos() { return g_subTypeInfos; }
const std::vector<FormatInfo>& formatInfos() { return g_formatInfos; }

std::vector<uint32_t> catalogueFormats() {
    std::vector<uint32_t> codes;
    for (const FormatInfo& row : staticFormatInfos()) codes.push_back(row.pixelFormat);
    return codes;
}

void buildPixelFormatTables(const std::set<uint32_t>& topLeftFormats) {
    g_subTypeInfos = staticSubTypeInfos();
    g_formatInfos = staticFormatInfos();
    for (FormatInfo& row : g_formatInfos)
        if (topLeftFormats.count(row.pixelFormat)) row.flags |= FormatInfo::kTopLeft;
}

const SubTypeInfo& GetSubTypeInfo_by_nrvTypeComp(uint32_t nrvTypeComp) {
    for (const SubTypeInfo& row : g_subTypeInfos)
        if (row.nrvTypeComp == nrvTypeComp) return row;
    throw std::runtime_error(std::string("GetSubTypeInfo_by_nrvTypeComp(): type not found: ") +
                             codecString(kCodecStringType, static_cast<int32_t>(nrvTypeComp)) + " (" +
                             std::to_string(nrvTypeComp) + ")");
}

const FormatInfo& GetFormatInfo_by_pixelFormat(uint32_t pixelFormat) {
    for (const FormatInfo& row : g_formatInfos)
        if (row.pixelFormat == pixelFormat) return row;
    throw std::runtime_error(std::string("GetFormatInfo_by_pixelFormat(): pixel format not found: ") +
                             pixelFormatName(pixelFormat) + " [" + fourccToText(pixelFormat, false) + "]");
}

CodecFormat formatInfoToCodecFormat(const FormatInfo& format) {
    CodecFormat codec = emptyCodecFormat();
    codec.type = format.nrvType;
    codec.flags = (format.isTopLeft() ? 0u : 1u) | (format.isAdobe16u() ? 2u : 0u);
    codec.colorSpace = format.colorSpace;
    codec.range = format.isLimitedRange() ? 1u : 2u;
    return codec;
}
