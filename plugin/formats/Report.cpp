// The start-up report: what the host and the codec library say about every
// format, written to the log at every imInit.
#include <exception>
#include <string>

#include "codec/NorvikCodec.h"
#include "codec/NorvikError.h"
#include "entry/ScopedSuite.h"
#include "formats/Catalogue.h"
#include "log/Log.h"
#include "log/Names.h"
#include "log/Text.h"
#include "prsdk/PrPixelFormats.h"

using namespace prsdk;

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

char answerChar(int32_t result, prBool answer) { return result != 0 ? '?' : (answer ? '1' : ' '); }

void reportHostFormats(ScopedSuite& suite) {
    logMessage("----");
    logMessage("Pixel formats ([fcc] : isCompressed hasAlpha isTopLeft - name):");
    for (const char* text : kReportedFormats) {
        const auto* ips = suite.get<PrSDKImageProcessingSuite>();
        const uint32_t code = text ? makeFourCC(text) : 0;  // the list ends with the code 0
        prBool compressed = 0, alpha = 0, topLeft = 0;
        int32_t size = 0;
        const int32_t r1 = ips->FormatIsCompressed(code, &compressed);
        const int32_t r2 = ips->FormatHasAlpha(code, &alpha);
        const int32_t r3 = ips->FormatIsOriginTopLeft(code, &topLeft);
        ips->GetSizeForPixelBuffer(code, 128, 1, &size);
        logMessage("[%s] : %c %c %c -  %s (err: %x %x %x) - %d", fourccToText(code, false).c_str(),
                   answerChar(r1, compressed), answerChar(r2, alpha), answerChar(r3, topLeft), pixelFormatName(code),
                   static_cast<unsigned>(r1), static_cast<unsigned>(r2), static_cast<unsigned>(r3), size);
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
            logMessage("  -   - : %s", name.c_str());
        }
    }
}

void reportSubTypes() {
    logMessage("----");
    logMessage("SubTypeInfos: (subType : nrvTypeComp : subTypeName)");
    for (const SubTypeInfo& row : g_subTypeInfos) {
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
    for (const FormatInfo& row : g_formatInfos) {
        logMessage("[%s] %-35s : (%2d) %-10s : (%d) %-8s : %s : %s", fourccToText(row.pixelFormat, false).c_str(),
                   pixelFormatName(row.pixelFormat), static_cast<int>(row.nrvType),
                   codecString(kCodecStringType, static_cast<int32_t>(row.nrvType)).c_str(),
                   static_cast<int>(row.colorSpace),
                   codecString(kCodecStringColorSpace, static_cast<int32_t>(row.colorSpace)).c_str(),
                   row.isAdobe16u() ? "1" : " ", row.isTopLeft() ? "1" : " ");
    }
}

}  // namespace

void logPixelFormatReport(const SPBasicSuite* basic) {
    ScopedSuite suite(basic, kPrSDKImageProcessingSuite, kPrSDKImageProcessingSuiteVersion);
    suite.acquire();
    reportHostFormats(suite);
    NorvikCodec codec;
    reportCodecTypes(codec);
    reportSubTypes();
    reportFormatRows();
}
