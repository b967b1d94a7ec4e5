// The importer records exchanged through xImportEntry and the asynchronous
// entry point. The host packs every record to 1 byte, nested records included,
// and lays them out as Windows x64 does; every offset is checked below.
#pragma once

#include <cstddef>

#include "prsdk/PrTypes.h"

namespace prsdk {

struct piSuites;

#pragma pack(push, 1)

struct imStdParms {
    int32 imInterfaceVer;
    void* funcs;  // unused by the importer
    struct piSuites* piSuites;
};

struct imImportInfoRec {
    int32 importerType;
    int32 unused1;
    prBool canSave;
    prBool canDelete;
    prBool canResize;
    prBool canDoSubsize;
    prBool canDoContinuousTime;
    prBool noFile;
    prBool addToMenu;
    prBool hasSetup;
    prBool dontCache;
    prBool setupOnDblClk;
    prBool keepLoaded;
    int32 priority;
    prBool canAsync;
    prBool canCreate;
    prBool canCalcSizes;
    prBool canTrim;
    prBool avoidAudioConform;
    void* acceleratorFileExt;
    prBool canCopy;
    prBool canSupplyMetadataClipName;
    prBool canValidatePrefs;
    prBool canProvidePeakAudio;
    prBool canProvideFileList;
    prBool canProvideClosedCaptions;
    uint8 fileInfoVersion[37];
    prBool hasSourceSettingsEffect;
    prBool hasPersistentData;
    uint8 reserved[40];
};

struct imIndFormatRec {
    uint32 filetype;
    int32 flags;
    int32 canWriteTimecode;  // the importer writes 0 here (its "flags" word)
    char FormatName[256];
    char FormatShortName[32];
    char PlatformExtension[256];
    prBool hasAlternateTypes;
    uint32 alternateTypes[50];
    prBool canWriteMetaData;
};

struct imImageInfoRec {
    int32 imageWidth;
    int32 imageHeight;
    uint16 pixelAspectV1;
    int16 depth;
    uint32 subType;
    int8 fieldType;
    int8 fieldsStacked;
    int8 reserved_1;
    int8 reserved_2;
    int8 alphaType;
    uint8 matteColor[3];
    int8 alphaInverted;
    int8 isVectors;
    int8 drawsExternal;
    int8 canForceInternalDraw;
    int8 dontObscure;
    int8 isStill;
    int8 noDuration;
    int8 reserved_3;
    int32 pixelAspectNum;
    int32 pixelAspectDen;
    int8 isRollCrawl;
    int8 reservedc[3];
    int32 importerID;
    int32 supportsAsyncIO;
    int32 supportsGetSourceVideo;
    int32 hasPulldown;
    int32 pulldownCadence;
    int32 posterFrame;
    int32 canTransform;
    int32 interpretationUncertain;
    int32 colorProfileSupport;
    uint8 codecDescription[16];
    int32 colorSpaceSupport;
    int64 frameRate;
    int32 hasEmbeddedLUT;
    int32 bitDepth;
    uint8 reserved[44];
};

struct imAudioInfoRec7 {
    int32 numChannels;
    float sampleRate;
    int32 sampleType;
};

struct imFileInfoRec8 {
    int8 hasVideo;
    int8 hasAudio;
    imImageInfoRec vidInfo;
    int32 vidScale;
    int32 vidSampleSize;
    int32 vidDuration;
    imAudioInfoRec7 audInfo;
    PrAudioSample audDuration;
    int32 accessModes;
    void* privatedata;
    void* prefs;
    int8 hasDataRate;
    int32 streamIdx;
    int8 streamsAsComp;
    prUTF16Char streamName[256];
    int32 sessionPluginID;
    int8 alwaysUnquiet;
    int8 hasDataStreams;
    prUTF16Char filePath[2048];
    int8 canProvidePeakData;
    int8 mayBeGrowing;
    int8 ignoreGrowing;
    prUTF16Char sourceSettingsMatchName[256];
    int64 vidDurationInFrames;
    int32 ivProjectionType;
    int32 ivFrameLayout;
    int32 ivHorizontalCapturedView;
    int32 ivVerticalCapturedView;
    int8 mayHaveCaptions;
    int8 reserved[2];
};

struct imFileAccessRec8 {
    void* importID;
    uint32 filetype;
    const prUTF16Char* filepath;
    imFileRef fileref;
    void* newfilename;
};

struct imFileOpenRec8 {
    imFileAccessRec8 fileinfo;
    void* privatedata;
    uint32 delegatetype;
    int32 inReadWrite;
    int32 inImporterID;
    int64 outExtraMemoryUsage;
    int32 inStreamIdx;
};

struct imImportAudioRec7 {
    PrAudioSample position;
    uint32 size;
    float** buffer;
    void* privateData;
    void* prefs;
};

struct imAnalysisRec {
    void* privatedata;
    void* prefs;
    int32 buffersize;
    char* buffer;
    int32 timecodeFormat;
};

struct imDataRateAnalysisRec {
    void* privatedata;
    void* prefs;
    int32 buffersize;
    char* buffer;
    int32 baserate;
};

struct imDataSample {
    uint32 sampledur;
    uint32 samplesize;
};

struct imIndPixelFormatRec {
    void* privatedata;
    PrPixelFormat outPixelFormat;
    void* prefs;
};

struct imSubTypeDescriptionRec {
    uint32 subType;
    prUTF16Char subTypeName[256];
};

struct imGetAudioChannelLayoutRec {
    void* inPrivateData;
    PrAudioChannelLabel outChannelLabels[32];
};

struct imFrameFormat {
    int32 inFrameWidth;
    int32 inFrameHeight;
    PrPixelFormat inPixelFormat;
};

struct imRenderContext {
    int32 inIntent;
    double inPlaybackRatio;
    double inPlaybackRate;
};

struct imSourceVideoRec {
    void* inPrivateData;
    int32 currentStreamIdx;
    PrTime inFrameTime;
    imFrameFormat* inFrameFormats;
    int32 inNumFrameFormats;
    int8 removePulldown;
    int8 unused2[3];
    PPixHand* outFrame;
    void* prefs;
    int32 prefsSize;
    uint8 selectedColorProfileName[16];
    int32 inQuality;
    imRenderContext inRenderContext;
    uint8 opaqueColorSpaceIdentifier[16];
};

using AsyncEntryPoint = int32 (*)(int32 selector, void* param);

struct imAsyncImporterCreationRec {
    void* inPrivateData;
    void* inPrefs;
    AsyncEntryPoint outAsyncEntry;
    void* outAsyncPrivateData;
};

struct aiAsyncRequest {
    void* inPrivateData;
    int32 unused1;
    imSourceVideoRec inSourceRec;
};

#pragma pack(pop)

// The importer's one export.
using ImportEntryPoint = prMALError (*)(int32 selector, imStdParms* stdParms, void* param1, void* param2);

// Layout checks against the host's records (Windows x64, packed to 1 byte).
static_assert(sizeof(imStdParms) == 20);
static_assert(offsetof(imStdParms, funcs) == 4 && offsetof(imStdParms, piSuites) == 12);

static_assert(sizeof(imImportInfoRec) == 193);
static_assert(offsetof(imImportInfoRec, priority) == 52);
static_assert(offsetof(imImportInfoRec, canAsync) == 56);
static_assert(offsetof(imImportInfoRec, avoidAudioConform) == 72);
static_assert(offsetof(imImportInfoRec, acceleratorFileExt) == 76);
static_assert(offsetof(imImportInfoRec, canCopy) == 84);
static_assert(offsetof(imImportInfoRec, canProvideClosedCaptions) == 104);
static_assert(offsetof(imImportInfoRec, fileInfoVersion) == 108);
static_assert(offsetof(imImportInfoRec, hasSourceSettingsEffect) == 145);
static_assert(offsetof(imImportInfoRec, hasPersistentData) == 149);
static_assert(offsetof(imImportInfoRec, reserved) == 153);

static_assert(sizeof(imIndFormatRec) == 764);
static_assert(offsetof(imIndFormatRec, canWriteTimecode) == 8);
static_assert(offsetof(imIndFormatRec, FormatName) == 12);
static_assert(offsetof(imIndFormatRec, FormatShortName) == 268);
static_assert(offsetof(imIndFormatRec, PlatformExtension) == 300);
static_assert(offsetof(imIndFormatRec, hasAlternateTypes) == 556);
static_assert(offsetof(imIndFormatRec, alternateTypes) == 560);
static_assert(offsetof(imIndFormatRec, canWriteMetaData) == 760);

static_assert(sizeof(imImageInfoRec) == 160);
static_assert(offsetof(imImageInfoRec, depth) == 10);
static_assert(offsetof(imImageInfoRec, subType) == 12);
static_assert(offsetof(imImageInfoRec, fieldType) == 16);
static_assert(offsetof(imImageInfoRec, alphaType) == 20);
static_assert(offsetof(imImageInfoRec, alphaInverted) == 24);
static_assert(offsetof(imImageInfoRec, reserved_3) == 31);
static_assert(offsetof(imImageInfoRec, pixelAspectNum) == 32);
static_assert(offsetof(imImageInfoRec, pixelAspectDen) == 36);
static_assert(offsetof(imImageInfoRec, isRollCrawl) == 40);
static_assert(offsetof(imImageInfoRec, importerID) == 44);
static_assert(offsetof(imImageInfoRec, supportsAsyncIO) == 48);
static_assert(offsetof(imImageInfoRec, supportsGetSourceVideo) == 52);
static_assert(offsetof(imImageInfoRec, hasPulldown) == 56);
static_assert(offsetof(imImageInfoRec, colorProfileSupport) == 76);
static_assert(offsetof(imImageInfoRec, codecDescription) == 80);
static_assert(offsetof(imImageInfoRec, colorSpaceSupport) == 96);
static_assert(offsetof(imImageInfoRec, frameRate) == 100);
static_assert(offsetof(imImageInfoRec, hasEmbeddedLUT) == 108);
static_assert(offsetof(imImageInfoRec, bitDepth) == 112);
static_assert(offsetof(imImageInfoRec, reserved) == 116);

static_assert(sizeof(imAudioInfoRec7) == 12);
static_assert(offsetof(imAudioInfoRec7, sampleRate) == 4 && offsetof(imAudioInfoRec7, sampleType) == 8);

static_assert(sizeof(imFileInfoRec8) == 5376);
static_assert(offsetof(imFileInfoRec8, vidInfo) == 2);
static_assert(offsetof(imFileInfoRec8, vidScale) == 162);
static_assert(offsetof(imFileInfoRec8, vidSampleSize) == 166);
static_assert(offsetof(imFileInfoRec8, vidDuration) == 170);
static_assert(offsetof(imFileInfoRec8, audInfo) == 174);
static_assert(offsetof(imFileInfoRec8, audDuration) == 186);
static_assert(offsetof(imFileInfoRec8, accessModes) == 194);
static_assert(offsetof(imFileInfoRec8, privatedata) == 198);
static_assert(offsetof(imFileInfoRec8, prefs) == 206);
static_assert(offsetof(imFileInfoRec8, hasDataRate) == 214);
static_assert(offsetof(imFileInfoRec8, streamIdx) == 215);
static_assert(offsetof(imFileInfoRec8, streamsAsComp) == 219);
static_assert(offsetof(imFileInfoRec8, streamName) == 220);
static_assert(offsetof(imFileInfoRec8, sessionPluginID) == 732);
static_assert(offsetof(imFileInfoRec8, alwaysUnquiet) == 736);
static_assert(offsetof(imFileInfoRec8, hasDataStreams) == 737);
static_assert(offsetof(imFileInfoRec8, filePath) == 738);
static_assert(offsetof(imFileInfoRec8, canProvidePeakData) == 4834);
static_assert(offsetof(imFileInfoRec8, mayBeGrowing) == 4835);
static_assert(offsetof(imFileInfoRec8, ignoreGrowing) == 4836);
static_assert(offsetof(imFileInfoRec8, sourceSettingsMatchName) == 4837);
static_assert(offsetof(imFileInfoRec8, vidDurationInFrames) == 5349);
static_assert(offsetof(imFileInfoRec8, ivProjectionType) == 5357);
static_assert(offsetof(imFileInfoRec8, ivFrameLayout) == 5361);
static_assert(offsetof(imFileInfoRec8, ivHorizontalCapturedView) == 5365);
static_assert(offsetof(imFileInfoRec8, ivVerticalCapturedView) == 5369);
static_assert(offsetof(imFileInfoRec8, mayHaveCaptions) == 5373);
static_assert(offsetof(imFileInfoRec8, reserved) == 5374);

static_assert(sizeof(imFileAccessRec8) == 36);
static_assert(offsetof(imFileAccessRec8, filetype) == 8);
static_assert(offsetof(imFileAccessRec8, filepath) == 12);
static_assert(offsetof(imFileAccessRec8, fileref) == 20);
static_assert(offsetof(imFileAccessRec8, newfilename) == 28);

static_assert(sizeof(imFileOpenRec8) == 68);
static_assert(offsetof(imFileOpenRec8, privatedata) == 36);
static_assert(offsetof(imFileOpenRec8, delegatetype) == 44);
static_assert(offsetof(imFileOpenRec8, inReadWrite) == 48);
static_assert(offsetof(imFileOpenRec8, inImporterID) == 52);
static_assert(offsetof(imFileOpenRec8, outExtraMemoryUsage) == 56);
static_assert(offsetof(imFileOpenRec8, inStreamIdx) == 64);

static_assert(sizeof(imImportAudioRec7) == 36);
static_assert(offsetof(imImportAudioRec7, size) == 8);
static_assert(offsetof(imImportAudioRec7, buffer) == 12);
static_assert(offsetof(imImportAudioRec7, privateData) == 20);
static_assert(offsetof(imImportAudioRec7, prefs) == 28);

static_assert(sizeof(imAnalysisRec) == 32);
static_assert(offsetof(imAnalysisRec, buffersize) == 16);
static_assert(offsetof(imAnalysisRec, buffer) == 20);
static_assert(offsetof(imAnalysisRec, timecodeFormat) == 28);

static_assert(sizeof(imDataRateAnalysisRec) == 32);
static_assert(offsetof(imDataRateAnalysisRec, buffersize) == 16);
static_assert(offsetof(imDataRateAnalysisRec, buffer) == 20);
static_assert(offsetof(imDataRateAnalysisRec, baserate) == 28);

static_assert(sizeof(imDataSample) == 8);

static_assert(sizeof(imIndPixelFormatRec) == 20);
static_assert(offsetof(imIndPixelFormatRec, outPixelFormat) == 8);
static_assert(offsetof(imIndPixelFormatRec, prefs) == 12);

static_assert(sizeof(imSubTypeDescriptionRec) == 516);
static_assert(offsetof(imSubTypeDescriptionRec, subTypeName) == 4);

static_assert(sizeof(imGetAudioChannelLayoutRec) == 136);
static_assert(offsetof(imGetAudioChannelLayoutRec, outChannelLabels) == 8);

static_assert(sizeof(imFrameFormat) == 12);
static_assert(sizeof(imRenderContext) == 20);
static_assert(offsetof(imRenderContext, inPlaybackRatio) == 4 && offsetof(imRenderContext, inPlaybackRate) == 12);

static_assert(sizeof(imSourceVideoRec) == 112);
static_assert(offsetof(imSourceVideoRec, currentStreamIdx) == 8);
static_assert(offsetof(imSourceVideoRec, inFrameTime) == 12);
static_assert(offsetof(imSourceVideoRec, inFrameFormats) == 20);
static_assert(offsetof(imSourceVideoRec, inNumFrameFormats) == 28);
static_assert(offsetof(imSourceVideoRec, removePulldown) == 32);
static_assert(offsetof(imSourceVideoRec, unused2) == 33);
static_assert(offsetof(imSourceVideoRec, outFrame) == 36);
static_assert(offsetof(imSourceVideoRec, prefs) == 44);
static_assert(offsetof(imSourceVideoRec, prefsSize) == 52);
static_assert(offsetof(imSourceVideoRec, selectedColorProfileName) == 56);
static_assert(offsetof(imSourceVideoRec, inQuality) == 72);
static_assert(offsetof(imSourceVideoRec, inRenderContext) == 76);
static_assert(offsetof(imSourceVideoRec, opaqueColorSpaceIdentifier) == 96);

static_assert(sizeof(imAsyncImporterCreationRec) == 32);
static_assert(offsetof(imAsyncImporterCreationRec, outAsyncEntry) == 16);
static_assert(offsetof(imAsyncImporterCreationRec, outAsyncPrivateData) == 24);

static_assert(sizeof(aiAsyncRequest) == 124);
static_assert(offsetof(aiAsyncRequest, unused1) == 8 && offsetof(aiAsyncRequest, inSourceRec) == 12);

}  // namespace prsdk
