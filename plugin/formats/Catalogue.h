// The pixel-format catalogue: the fixed dictionary between the codec library's
// compressed and output types and the host's subtype codes and pixel formats.
//
// The catalogue asks the host nothing itself: imInit asks the host's Image
// Processing Suite and hands the answers in.
//
// Threads: the tables are written only by buildPixelFormatTables during imInit,
// before any clip is opened, and read without locks afterwards. Every codec query
// here uses a short-lived NorvikCodec of its own.
#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "codec/NorvikLibrary.h"

// One compressed codec format as the host sees it.
struct SubTypeInfo {
    uint32_t subType;                    // file subtype, first character in the highest byte ("N8RA")
    const char16_t* subTypeName;         // static display name
    uint32_t nrvTypeComp;                // the codec's compressed type
    uint32_t subsamplingX;               // 1 or 2
    uint32_t subsamplingY;               // 1 or 2
    uint32_t colorModel;                 // bit 0: alpha; bit 1: YUV (0 RGB, 1 RGBA, 2 YUV, 3 YUVA)
    std::set<int32_t> preferredFormats;  // pixel formats offered first when the codec can produce them

    bool hasAlpha() const { return (colorModel & 1) != 0; }
};

// One host pixel format the importer can fill.
struct FormatInfo {
    enum Flags : uint32_t { kAdobe16u = 1, kTopLeft = 2, kLimitedRange = 4 };

    uint32_t pixelFormat;     // host code, first character in the lowest byte ("bgra")
    const char* description;  // static label
    uint32_t nrvType;         // the codec's output type
    uint32_t colorSpace;      // 1 Rec.601, 2 Rec.709 (and every RGB row)
    uint32_t flags;           // kTopLeft only ever from the host's answer

    bool isAdobe16u() const { return (flags & kAdobe16u) != 0; }
    bool isTopLeft() const { return (flags & kTopLeft) != 0; }
    bool isLimitedRange() const { return (flags & kLimitedRange) != 0; }
};

// What the host answered about one pixel format: its Image Processing Suite's
// three yes/no queries with their return codes, and the row bytes of 128 pixels.
struct HostFormatAnswer {
    uint32_t pixelFormat = 0;
    int32_t compressedResult = 0;
    int32_t alphaResult = 0;
    int32_t topLeftResult = 0;
    bool compressed = false;
    bool alpha = false;
    bool topLeft = false;
    int32_t rowBytes128 = 0;
};

// The tables, read-only: 17 rows each after imInit, empty before.
const std::vector<SubTypeInfo>& subTypeInfos();
const std::vector<FormatInfo>& formatInfos();

// The pixel formats of the FormatInfo rows, in table order: what imInit asks the
// host about before it builds the tables.
std::vector<uint32_t> catalogueFormats();

// Refills both tables from their static rows and marks the rows whose pixel
// format the host stores top row first.
void buildPixelFormatTables(const std::set<uint32_t>& topLeftFormats);

// Every pixel format the host defines, in the order the start-up report lists
// them (73 codes, the last one 0).
std::vector<uint32_t> reportedPixelFormats();

// Logs what the host (its answers for reportedPixelFormats(), in that order) and
// the codec library say about every format.
void logPixelFormatReport(const std::vector<HostFormatAnswer>& hostAnswers);

// First row with the key; std::runtime_error when none.
const SubTypeInfo& GetSubTypeInfo_by_nrvTypeComp(uint32_t nrvTypeComp);
const FormatInfo& GetFormatInfo_by_pixelFormat(uint32_t pixelFormat);

// The rows, in table order, that the codec can decode this clip into, narrowed to
// the clip's preferred formats when any of those is among them.
std::vector<FormatInfo> getDecodeFormats(const CodecBuffer& compressedFormat);

// The rows whose layout the codec can compress into the given compressed type.
std::vector<FormatInfo> getCompressibleFormats(const CodecFormat& compressed);

// The codec output format that fills a row's pixel format.
CodecFormat formatInfoToCodecFormat(const FormatInfo& format);
