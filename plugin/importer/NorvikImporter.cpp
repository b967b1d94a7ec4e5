#include "importer/NorvikImporter.h"

#include <cstdint>

#include "log/Log.h"
#include "log/Text.h"

using namespace prsdk;

namespace {

// The host's file reference is a Win32 HANDLE; elsewhere the descriptor rides in it.
[[maybe_unused]] imFileRef asFileRef(void* handle) { return handle; }
[[maybe_unused]] imFileRef asFileRef(int descriptor) {
    return reinterpret_cast<imFileRef>(static_cast<intptr_t>(descriptor));
}

int openFlagsFor(int32_t access) {
    switch (access) {
        case kReadOnly: return fileio::Read | fileio::ShareRead;
        case kReadWrite: return fileio::Read | fileio::Write | fileio::OpenExisting | fileio::ShareRead;
        default: return fileio::ShareRead;  // neither read nor write: the open fails
    }
}

const FourCC kAudioType = makeFourCC("auds");
const FourCC kVideoType = makeFourCC("vids");

}  // namespace

NorvikImporter::NorvikImporter(const imStdParms* stdParms)
    : basicSuite(stdParms->piSuites->utilFuncs->getSPBasicSuite()) {
    logMessage("NorvikImporter::NorvikImporter()");
}

NorvikImporter::~NorvikImporter() { logMessage("NorvikImporter::~NorvikImporter()"); }

imFileRef NorvikImporter::fileRef() const { return asFileRef(m_file.nativeHandle()); }

bool NorvikImporter::open(const std::u16string& path, int32_t streamIndex, int32_t accessMode) {
    const std::string utf8 = toUtf8(path);
    logMessage("Open: '%s', stream: %d", utf8.c_str(), streamIndex);
    if (!m_file.open(path.c_str(), openFlagsFor(accessMode))) return false;
    filePath = path;
    m_filePathUtf8 = utf8;
    m_streamIndex = streamIndex;
    access = accessMode;
    return true;
}

HostSuites* NorvikImporter::ensureSuites() {
    if (!suites) suites = std::make_unique<HostSuites>(basicSuite);
    return suites.get();
}

int32_t NorvikImporter::parse(int32_t streamIndex) {
    m_videoInfo.reset();
    m_audioInfo.reset();
    audioStreamCount = 0;

    m_file.seek(0);
    if (!parser.parse(m_file)) {
        logMessage("Failed to parse avi: %s", parser.errorText.c_str());
        return imBadFile;
    }
    const std::vector<size_t> audioStreams = parser.streamsOfType(kAudioType);
    audioStreamCount = audioStreams.size();
    if (streamIndex == 0) {
        if (const int32_t r = describeVideo()) return r;
    }
    describeAudio(audioStreams, streamIndex);

    if (audioStreamCount > static_cast<uint64_t>(streamIndex) + 1) return imIterateStreams;
    return streamIndex == 0 ? imNoErr : imBadStreamIndex;
}

int32_t NorvikImporter::describeVideo() {
    const std::vector<size_t> videoStreams = parser.streamsOfType(kVideoType);
    if (videoStreams.empty()) {
        logMessage("Avi has no video stream");
        return imBadFile;
    }
    auto video = std::make_unique<VideoInfo>(this, [this]() -> HostSuites& { return *ensureSuites(); });
    if (const int32_t r = video->init(*parser.streams.at(videoStreams.front()))) return r;
    m_videoInfo = std::move(video);
    return imNoErr;
}

void NorvikImporter::describeAudio(const std::vector<size_t>& audioStreams, int32_t streamIndex) {
    m_audioInfo = std::make_unique<AudioInfo>(this);
    if (audioStreams.empty()) {
        logMessage("Avi has no audio stream");
    } else if (streamIndex >= 0 && static_cast<uint64_t>(streamIndex) < audioStreams.size()) {
        m_audioInfo->init(*parser.streams.at(audioStreams[static_cast<size_t>(streamIndex)]));
    } else {
        logMessage("Avi invalid audio stream index: %d", streamIndex);
    }
    if (!m_audioInfo->valid && streamIndex == 0 && audioStreams.size() < 2) m_audioInfo.reset();
}

int32_t NorvikImporter::openAndParse(const std::u16string& path, int32_t streamIndex, int32_t accessMode) {
    if (!open(path, streamIndex, accessMode)) return imBadFile;
    const int32_t r = parse(streamIndex);
    if (r != imNoErr && r != imIterateStreams && r != imBadStreamIndex) return r;
    ensureSuites();
    return imNoErr;
}
