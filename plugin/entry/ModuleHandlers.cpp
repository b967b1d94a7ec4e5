#include "entry/ModuleHandlers.h"

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

#include "entry/HostPixelFormats.h"
#include "entry/ModuleState.h"
#include "formats/Catalogue.h"
#include "entry/FileSession.h"
#include "log/Log.h"
#include "log/Names.h"
#include "log/Text.h"

using namespace prsdk;

namespace {

// The basic suite the host hands every module through its utility functions.
const SPBasicSuite* basicSuiteOf(const imStdParms* stdParms) {
    return stdParms->piSuites->utilFuncs->getSPBasicSuite();
}

// Builds the catalogue's tables with the host's top-row-first answers, then logs
// the start-up report with what the host says about every pixel format. Each step
// holds the Image Processing Suite for its own duration.
void setUpPixelFormats(const SPBasicSuite* basic) {
    {
        ScopedSuite imageProcessing(basic, kPrSDKImageProcessingSuite, kPrSDKImageProcessingSuiteVersion);
        imageProcessing.acquire();
        std::set<uint32_t> topLeft;
        try {
            topLeft = askTopLeftFormats(imageProcessing, catalogueFormats());
        } catch (const std::exception&) {
            buildPixelFormatTables({});  // the static rows stand, without the host's answers
            throw;
        }
        buildPixelFormatTables(topLeft);
    }
    ScopedSuite imageProcessing(basic, kPrSDKImageProcessingSuite, kPrSDKImageProcessingSuiteVersion);
    imageProcessing.acquire();
    logPixelFormatReport(askHostFormats(imageProcessing, reportedPixelFormats()));
}

template <size_t N>
void copyText(char (&target)[N], const char* text, size_t length) {
    std::memcpy(target, text, length < N ? length : N);
}

}  // namespace

prMALError OnInit(imStdParms* stdParms, imImportInfoRec* info) {
    const SPBasicSuite* basic = basicSuiteOf(stdParms);
    auto holder = std::make_unique<ScopedSuite>(basic, kPrSDKErrorSuite, kPrSDKErrorSuiteVersion);
    holder->acquire();
    replaceErrorSuite(std::move(holder));

    setUpPixelFormats(basic);

    info->priority = 200;
    info->avoidAudioConform = 1;
    return imNoErr;
}

prMALError OnShutdown() {
    replaceErrorSuite(nullptr);
    return imNoErr;
}

prMALError OnGetIndFormat(uint32 index, imIndFormatRec* format) {
    // Names and a one-entry extension list ("avi" and a second NUL), zero-filled.
    char formatName[256] = "Norvik AVI";
    char shortName[32] = "Norvik AVI";
    char extension[256] = "avi\0";
    if (index != 0) {
        logMessage("index %u: imBadFormatIndex", index);
        return imBadFormatIndex;
    }
    format->filetype = kNorvikFileType;
    format->canWriteTimecode = 0;
    copyText(format->FormatName, formatName, sizeof(formatName));
    copyText(format->FormatShortName, shortName, sizeof(shortName));
    copyText(format->PlatformExtension, extension, sizeof(extension));
    logMessage("index %u: %s", index, fourccToText(kNorvikFileType, true).c_str());
    return imNoErr;
}

prMALError OnGetSubTypeNames(imStdParms* stdParms, uint32 fileType, imSubTypeDescriptionRec** subTypes) {
    logMessage("filetype: %s", fourccToText(fileType, true).c_str());
    const size_t count = subTypeInfos().size();
    char* block = stdParms->piSuites->memFuncs->newPtr(static_cast<uint32>(count * sizeof(imSubTypeDescriptionRec)));
    if (!block && count) throw std::runtime_error("newPtr() failed for the subtype list");
    auto* records = reinterpret_cast<imSubTypeDescriptionRec*>(block);
    *subTypes = records;
    for (size_t i = 0; i < count; ++i) {
        const SubTypeInfo& row = subTypeInfos()[i];
        const std::u16string name(row.subTypeName);
        logMessage("Adding subtype: '%s' : '%s'", fourccToText(row.subType, true).c_str(), toUtf8(name).c_str());
        imSubTypeDescriptionRec record{};
        record.subType = row.subType;
        name.copy(record.subTypeName, std::size(record.subTypeName) - 1);
        std::memcpy(&records[i], &record, sizeof(record));
    }
    return imNoErr;
}
