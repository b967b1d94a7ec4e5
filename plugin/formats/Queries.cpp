// Building the catalogue with the host's answers, and the codec queries that
// decide what a clip can be decoded into.
#include <exception>

#include "codec/NorvikCodec.h"
#include "entry/ScopedSuite.h"
#include "formats/Catalogue.h"
#include "formats/StaticTables.h"

using namespace prsdk;

void buildPixelFormatTables(const SPBasicSuite* basic) {
    g_subTypeInfos = staticSubTypeInfos();
    g_formatInfos = staticFormatInfos();
    ScopedSuite suite(basic, kPrSDKImageProcessingSuite, kPrSDKImageProcessingSuiteVersion);
    suite.acquire();
    for (FormatInfo& row : g_formatInfos) {
        const auto* imageProcessing = suite.get<PrSDKImageProcessingSuite>();
        prBool topLeft = 0;
        imageProcessing->FormatIsOriginTopLeft(row.pixelFormat, &topLeft);
        if (topLeft) row.flags |= FormatInfo::kTopLeft;
    }
}

std::vector<FormatInfo> getDecodeFormats(const CodecBuffer& compressedFormat) {
    std::vector<FormatInfo> result;
    NorvikCodec codec;
    for (const FormatInfo& row : g_formatInfos) {
        try {
            const CodecFormat wanted = formatInfoToCodecFormat(row);
            CodecFormat filled = emptyCodecFormat();
            codec.decompressQuery(compressedFormat, &wanted, filled);
            result.push_back(row);
        } catch (const std::exception&) {
            // The codec cannot produce this row for the clip: leave it out.
        }
    }
    try {
        CodecFormat stream = emptyCodecFormat();
        codec.decompressQuery(compressedFormat, nullptr, stream);
        const SubTypeInfo& subType = GetSubTypeInfo_by_nrvTypeComp(stream.type);
        std::vector<FormatInfo> preferred;
        for (const FormatInfo& row : result)
            if (subType.preferredFormats.count(static_cast<int32_t>(row.pixelFormat))) preferred.push_back(row);
        if (!preferred.empty()) result = std::move(preferred);
    } catch (const std::exception&) {
        // Unknown stream type: offer everything the codec accepted.
    }
    return result;
}

std::vector<FormatInfo> getCompressibleFormats(const CodecFormat& compressed) {
    std::vector<FormatInfo> result;
    NorvikCodec codec;
    CodecFormat destination = compressed;
    destination.width = 0;
    destination.height = 0;
    for (const FormatInfo& row : g_formatInfos) {
        CodecFormat source = formatInfoToCodecFormat(row);
        source.width = 128;
        source.height = 128;
        try {
            codec.compressQuery(source, destination);
            result.push_back(row);
        } catch (const std::exception&) {
            // Not a source the codec compresses into this type.
        }
    }
    return result;
}
