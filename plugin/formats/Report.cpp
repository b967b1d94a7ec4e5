// The start-up report: what the host and the codec library say about every
// format, written to the log at every imInit.
#include <exception>
#include <string>

#include "codec/NorvikCodec.h"
#include "codec/NorvikError.h"
#include "formats/Catalogue.h"
#include "log/Log.h"
#include "log/Names.h"
#include "log/Text.h"
#include "prsdk/FourCC.h"

namespace {

// Every pixel format the host defines, in the order the report lists them.
constexpr const char* kReportedFormats[] = {
    "bgra", "vuya", "VUYA", "argb", "bgrx", "vuyx", "vux7", "xrgb", "bgrp", "vuyp", "vup7", "prgb", "Bgra",
    "Vuya", "Argb", "Bgrx", "Xrgb", "Bgrp", "Prgb", "BGra", "VUya", "vUYa", "ARgb", "BGrx", "VUyx", "VUx7",
    "XRgb", "BGrp", "VUyp", "VUp7", "PRgb", "RGB1", "yuy2", "yuy3", "uyvy", "uyv7", "v210", "v211", "UYvy",
    "UYv7", "BGaL", "BGpL", "BGxL", "ARgL", "PRgL", "XRgL", "yv12", "yvi2", "yv1f", "yvif", "yv17", "yvi7",
    "yv1F", "yviF", "Yv12", "Yvi2", "Yv1f", "Yvif", "Yv17", "Yvi7", "Yv1F", "YviF", "dvn2", "dvp2", "dvn5",
    "dvp5", "dvn7", "dvp7", "dvn1", "dvp1", "raww", "badf", nullptr};
static_assert(sizeof(kReportedFormats) / sizeof(kReportedFormats[0]) == 73);

char answerChar(int32_t result, bool answer) { return result != 0 ? '?' : (answer ? '1' : ' '); }

void reportHostFormats(const std::vector<HostFormatAnswer>& answers) {
    logMessage("----");
    logMessage("Pixel formats ([fcc] : isCompressed hasAlpha isTopLeft - name):");
    for (const HostFormatAnswer& a : answers) {
        logMessage("[%s] : %c %c %c -  %s (err: %x %x %x) - %d", fourccToText(a.pixelFormat, false).c_str(),
                   answerChar(a.compressedResult, a.compressed), answerChar(a.alphaResult, a.alpha),
                   answerChar(a.topLeftResult, a.topLeft), pixelFormatName(a.pixelFormat),
                   static_cast<unsigned>(a.compressedResult), static_cast<unsigned>(a.alphaResult),
                   static_cast<unsigned>(a.topLeftResult), a.rowBytes128);
    }
}

void reportCodecTypes(NorvikCodec& codec) {
    logMessage("----");
    logMessage("Norvik types (can_flip supports_0_32768_range : format):");
    for (uint32_t type = 1; type <= 61; ++type) {
        const std::string name = codecString(kCodecStringType, static_cast<int32_t>(type));
        try {
            const bool canFlip = codec.getParam(kCodecParamCanFlip, type) != 0;
            const bool range = codec.getParam(kCodecParamRange32768, type) != 0;
            logMessage("%s %s : %s", canFlip ? "YES" : " NO", range ? "YES" : " NO", name.c_str());
        } catch (const NorvikError&) {
            // The report's line for a type the codec cannot describe has no room for the reason.
            logMessage("  -   - : %s", name.c_str());
        }
    }
}

void reportSubTypes() {
    logMessage("----");
    logMessage("SubTypeInfos: (subType : nrvTypeComp : subTypeName)");
    for (const SubTypeInfo& row : subTypeInfos()) {
        logMessage("[%s] : (%d) %-15s : '%s'", fourccToText(row.subType, true).c_str(),
                   static_cast<int>(row.nrvTypeComp),
                   codecString(kCodecStringType, static_cast<int32_t>(row.nrvTypeComp)).c_str(),
                   toUtf8(row.subTypeName).c_str());
        CodecFormat compressed = emptyCodecFormat();
        compressed.type = row.nrvTypeComp;
        for (const FormatInfo& source : getCompressibleFormats(compressed))
            logMessage("    <- %s", pixelFormatName(source.pixelFormat));
    }
}

void reportFormatRows() {
    logMessage("----");
    logMessage("FormatInfos: (pixelFormat : nrvType : colorSpace : isAdobe16u : isTopLeft)");
    for (const FormatInfo& row : formatInfos()) {
        logMessage("[%s] %-35s : (%2d) %-10s : (%d) %-8s : %s : %s", fourccToText(row.pixelFormat, false).c_str(),
                   pixelFormatName(row.pixelFormat), static_cast<int>(row.nrvType),
                   codecString(kCodecStringType, static_cast<int32_t>(row.nrvType)).c_str(),
                   static_cast<int>(row.colorSpace),
                   codecString(kCodecStringColorSpace, static_cast<int32_t>(row.colorSpace)).c_str(),
                   row.isAdobe16u() ? "1" : " ", row.isTopLeft() ? "1" : " ");
    }
}

}  // namespace

std::vector<uint32_t> reportedPixelFormats() {
    std::vector<uint32_t> codes;
    for (const char* text : kReportedFormats) codes.push_back(text ? makeFourCC(text) : 0);  // the list ends with 0
    return codes;
}

void logPixelFormatReport(const std::vector<HostFormatAnswer>& hostAnswers) {
    reportHostFormats(hostAnswers);
    NorvikCodec codec;
    reportCodecTypes(codec);
    reportSubTypes();
    reportFormatRows();
}
