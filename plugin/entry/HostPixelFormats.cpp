#include "entry/HostPixelFormats.h"

#include "prsdk/PrSuites.h"

using namespace prsdk;

std::set<uint32_t> askTopLeftFormats(ScopedSuite& imageProcessing, const std::vector<uint32_t>& formats) {
    std::set<uint32_t> topLeft;
    for (const uint32_t format : formats) {
        const auto* suite = imageProcessing.get<PrSDKImageProcessingSuite>();
        prBool answer = 0;
        suite->FormatIsOriginTopLeft(format, &answer);  // a failed query leaves "no"
        if (answer) topLeft.insert(format);
    }
    return topLeft;
}

std::vector<HostFormatAnswer> askHostFormats(ScopedSuite& imageProcessing, const std::vector<uint32_t>& formats) {
    std::vector<HostFormatAnswer> answers;
    for (const uint32_t format : formats) {
        const auto* suite = imageProcessing.get<PrSDKImageProcessingSuite>();
        prBool compressed = 0, alpha = 0, topLeft = 0;
        HostFormatAnswer a;
        a.pixelFormat = format;
        a.compressedResult = suite->FormatIsCompressed(format, &compressed);
        a.alphaResult = suite->FormatHasAlpha(format, &alpha);
        a.topLeftResult = suite->FormatIsOriginTopLeft(format, &topLeft);
        suite->GetSizeForPixelBuffer(format, 128, 1, &a.rowBytes128);
        a.compressed = compressed != 0;
        a.alpha = alpha != 0;
        a.topLeft = topLeft != 0;
        answers.push_back(a);
    }
    return answers;
}
