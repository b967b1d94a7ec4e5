// The codec queries that decide what a clip can be decoded into, and what the
// codec can compress from.
#include <exception>

#include "codec/NorvikCodec.h"
#include "codec/NorvikError.h"
#include "formats/Catalogue.h"
#include "log/Log.h"

namespace {

// Runs one probing query of a table walk and tells whether it succeeded. A
// NorvikError is the codec's "no" to this row and is the answer itself, so its
// text is dropped; any other failure is not an answer, so its text is logged
// (under `context`) before the row is left out like a refused one.
template <class Query>
bool probe(const char* context, Query&& query) {
    try {
        query();
        return true;
    } catch (const NorvikError&) {
        return false;
    } catch (const std::exception& e) {
        logMessage("%s: %s", context, e.what());
        return false;
    }
}

// The rows of `rows` that the clip's subtype prefers, in order; empty when the
// codec cannot name the clip's type or the catalogue has no row for it.
std::vector<FormatInfo> preferredRows(NorvikCodec& codec, const CodecBuffer& compressedFormat,
                                      const std::vector<FormatInfo>& rows) {
    std::vector<FormatInfo> preferred;
    probe("getDecodeFormats(): preferred formats", [&] {
        CodecFormat stream = emptyCodecFormat();
        codec.decompressQuery(compressedFormat, nullptr, stream);
        const SubTypeInfo& subType = GetSubTypeInfo_by_nrvTypeComp(stream.type);
        for (const FormatInfo& row : rows)
            if (subType.preferredFormats.count(static_cast<int32_t>(row.pixelFormat))) preferred.push_back(row);
    });
    return preferred;
}

}  // namespace

std::vector<FormatInfo> getDecodeFormats(const CodecBuffer& compressedFormat) {
    std::vector<FormatInfo> result;
    NorvikCodec codec;
    for (const FormatInfo& row : formatInfos()) {
        const bool accepted = probe("getDecodeFormats()", [&] {
            const CodecFormat wanted = formatInfoToCodecFormat(row);
            CodecFormat filled = emptyCodecFormat();
            codec.decompressQuery(compressedFormat, &wanted, filled);
        });
        if (accepted) result.push_back(row);
    }
    std::vector<FormatInfo> preferred = preferredRows(codec, compressedFormat, result);
    if (!preferred.empty()) result = std::move(preferred);
    return result;
}

std::vector<FormatInfo> getCompressibleFormats(const CodecFormat& compressed) {
    std::vector<FormatInfo> result;
    NorvikCodec codec;
    CodecFormat destination = compressed;
    destination.width = 0;
    destination.height = 0;
    for (const FormatInfo& row : formatInfos()) {
        CodecFormat source = formatInfoToCodecFormat(row);
        source.width = 128;
        source.height = 128;
        if (probe("getCompressibleFormats()", [&] { codec.compressQuery(source, destination); })) result.push_back(row);
    }
    return result;
}
