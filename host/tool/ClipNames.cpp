#include "ClipNames.h"

#include <algorithm>
#include <charconv>

#include "norvikhost/Text.h"

namespace norvikimport {

using namespace prsdk;

// Built by appending: GCC 12 at -O3 warns falsely about chains of operator+.
std::string resultText(std::int32_t result) {
    std::string text = std::to_string(result);
    text.append(" (").append(norvikhost::resultName(result)).append(")");
    return text;
}

std::string codeText(std::uint32_t code) {
    std::string text = "'";
    text.append(norvikhost::fourccText(code)).append("' (").append(norvikhost::hexText(code)).append(")");
    return text;
}

const char* fieldTypeName(std::int32_t fieldType) {
    switch (fieldType) {
        case prFieldsNone: return "progressive";
        case prFieldsUpperFirst: return "upper field first";
        case prFieldsLowerFirst: return "lower field first";
        case prFieldsUnknown: return "unknown";
        default: return "not a field type";
    }
}

const char* alphaTypeName(std::int32_t alphaType) {
    switch (alphaType) {
        case alphaUnknown: return "unknown";
        case alphaStraight: return "straight";
        case alphaBlackMatte: return "black matte";
        case alphaWhiteMatte: return "white matte";
        case alphaArbitrary: return "arbitrary";
        case alphaNone: return "none";
        case alphaOpaque: return "opaque";
        case alphaIgnore: return "ignore";
        default: return "not an alpha type";
    }
}

const char* sampleTypeName(std::int32_t sampleType) {
    switch (sampleType) {
        case kPrAudioSampleType_8BitInt: return "8-bit unsigned integer";
        case kPrAudioSampleType_8BitTwosInt: return "8-bit signed integer";
        case kPrAudioSampleType_16BitInt: return "16-bit integer";
        case kPrAudioSampleType_24BitInt: return "24-bit integer";
        case kPrAudioSampleType_32BitInt: return "32-bit integer";
        case kPrAudioSampleType_32BitFloat: return "32-bit float";
        case kPrAudioSampleType_64BitFloat: return "64-bit float";
        case kPrAudioSampleType_Other: return "other";
        default: return "not a sample type";
    }
}

std::string subTypeName(const std::vector<norvikhost::SubType>& subTypes, std::uint32_t code) {
    for (const norvikhost::SubType& subType : subTypes)
        if (subType.code == code) return subType.name;
    return "";
}

std::string fixed(double value, int decimals) {
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (end.ec != std::errc()) return "?";
    return std::string(text, end.ptr);
}

DataRateSummary summarise(const std::vector<imDataSample>& samples) {
    DataRateSummary summary;
    summary.samples = samples.size();
    if (samples.empty()) return summary;
    summary.smallest = samples.front().samplesize;
    summary.duration = samples.front().sampledur & 0x7FFFFFFFu;
    for (const imDataSample& sample : samples) {
        const std::uint32_t size = sample.samplesize;  // packed: read by value
        const std::uint32_t duration = sample.sampledur;
        summary.totalBytes += size;
        summary.smallest = std::min(summary.smallest, size);
        summary.largest = std::max(summary.largest, size);
        if (duration & 0x80000000u) ++summary.keyFrames;
        if ((duration & 0x7FFFFFFFu) != summary.duration) summary.sameDuration = false;
    }
    return summary;
}

}  // namespace norvikimport
