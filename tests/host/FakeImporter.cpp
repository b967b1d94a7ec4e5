// Small importer modules that stand in for a real one when testing the host.
// Built three times: FAKE_GOOD answers as a well-behaved importer does (and
// uses the basic suite, the Error Suite and newPtr on the way); FAKE_BAD gives
// every answer a host must not trust; FAKE_NO_ENTRY exports no xImportEntry.
#include <cstring>

#include "prsdk/PrSDK.h"

#ifdef _WIN32
#define FAKE_EXPORT extern "C" __declspec(dllexport)
#else
#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

using namespace prsdk;

namespace {

#if defined(FAKE_GOOD)

const PrSDKErrorSuite3* g_errorSuite = nullptr;

SPBasicSuite* basicSuite(imStdParms* stdParms) { return stdParms->piSuites->utilFuncs->getSPBasicSuite(); }

int32 onInit(imStdParms* stdParms, imImportInfoRec* info) {
    const void* suite = nullptr;
    basicSuite(stdParms)->AcquireSuite(kPrSDKErrorSuite, kPrSDKErrorSuiteVersion, &suite);
    g_errorSuite = static_cast<const PrSDKErrorSuite3*>(suite);
    if (g_errorSuite)
        g_errorSuite->SetEventStringUnicode(kEventTypeInformational, u"Fake importer", u"started \u00e9\U0001F600");
    info->priority = 200;
    info->avoidAudioConform = 1;
    return imNoErr;
}

int32 onShutdown(imStdParms* stdParms) {
    if (g_errorSuite) basicSuite(stdParms)->ReleaseSuite(kPrSDKErrorSuite, kPrSDKErrorSuiteVersion);
    g_errorSuite = nullptr;
    return imNoErr;
}

void describe(imIndFormatRec* rec, uint32 type, const char* name, const char* extensions, size_t extensionsSize) {
    rec->filetype = type;
    std::strcpy(rec->FormatName, name);
    std::strcpy(rec->FormatShortName, name);
    std::memcpy(rec->PlatformExtension, extensions, extensionsSize);
}

int32 onGetIndFormat(std::intptr_t index, imIndFormatRec* rec) {
    if (index == 0) {
        describe(rec, makeFourCCBigEndian("AVIV"), "Norvik AVI", "avi\0", 5);
        return imNoErr;
    }
    if (index == 1) {
        describe(rec, makeFourCCBigEndian("FAKE"), "Second format", "fk1\0fk2\0", 9);
        return imNoErr;
    }
    return imBadFormatIndex;
}

int32 onGetSubTypeNames(imStdParms* stdParms, uint32 fileType, imSubTypeDescriptionRec** out) {
    if (fileType != makeFourCCBigEndian("AVIV")) return imUnsupported;
    auto* recs = reinterpret_cast<imSubTypeDescriptionRec*>(
        stdParms->piSuites->memFuncs->newPtrClear(2 * sizeof(imSubTypeDescriptionRec)));
    recs[0].subType = makeFourCCBigEndian("N8RA");
    std::memcpy(recs[0].subTypeName, u"Norvik 8-bit RGBA", sizeof(u"Norvik 8-bit RGBA"));
    recs[1].subType = makeFourCCBigEndian("N14R");
    std::memcpy(recs[1].subTypeName, u"Norvik 14-bit RGB", sizeof(u"Norvik 14-bit RGB"));
    *out = recs;
    return imNoErr;
}

int32 dispatch(int32 selector, imStdParms* stdParms, void* param1, void* param2) {
    switch (selector) {
        case imInit: return onInit(stdParms, static_cast<imImportInfoRec*>(param1));
        case imShutdown: return onShutdown(stdParms);
        case imGetIndFormat:
            return onGetIndFormat(reinterpret_cast<std::intptr_t>(param1), static_cast<imIndFormatRec*>(param2));
        case imGetSupports8: return malSupports8;
        case imGetSubTypeNames:
            return onGetSubTypeNames(stdParms, uint32(reinterpret_cast<std::uintptr_t>(param1)),
                                     static_cast<imSubTypeDescriptionRec**>(param2));
        default: return imUnsupported;
    }
}

#elif defined(FAKE_BAD)

imSubTypeDescriptionRec g_notHostMemory[1] = {};

int32 dispatch(int32 selector, imStdParms*, void*, void* param2) {
    switch (selector) {
        case imInit: return imBadFile;
        case imGetIndFormat: {
            // Names filled to the last byte with no terminating NUL; never ends.
            auto* rec = static_cast<imIndFormatRec*>(param2);
            rec->filetype = 0x01020304;
            std::memset(rec->FormatName, 'N', sizeof rec->FormatName);
            std::memset(rec->FormatShortName, 'S', sizeof rec->FormatShortName);
            std::memset(rec->PlatformExtension, 'e', sizeof rec->PlatformExtension);
            return imNoErr;
        }
        case imGetSupports8: return 42;
        case imGetSubTypeNames: *static_cast<imSubTypeDescriptionRec**>(param2) = g_notHostMemory; return imNoErr;
        default: return -7;
    }
}

#endif

}  // namespace

#if defined(FAKE_NO_ENTRY)
FAKE_EXPORT int32 xImportEntryMisspelt(int32, imStdParms*, void*, void*) { return imNoErr; }
#else
FAKE_EXPORT int32 xImportEntry(int32 selector, imStdParms* stdParms, void* param1, void* param2) {
    return dispatch(selector, stdParms, param1, param2);
}
#endif
