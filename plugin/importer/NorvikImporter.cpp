#include "importer/NorvikImporter.h"

#include <cstdint>

#include "codec/NorvikCodec.h"
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
    : m_basicSuite(stdParms->piSuites->utilFuncs->getSPBasicSuite()) {
    logMessage("NorvikImporter::NorvikImporter()");
}

NorvikImporter::~NorvikImporter() {
    logMessage("NorvikImporter::~NorvikImporter()");
    // The description's parser points at the file; the suites outlive both.
    m_description.reset();
    m_file.close();
    m_suites.reset();
}

imFileRef NorvikImporter::fileRef() const { return asFileRef(m_file.nativeHandle()); }

const std::shared_ptr<const VideoInfo>& NorvikImporter::video() const {
    static const std::shared_ptr<const VideoInfo> none;
    return m_description ? m_description->video : none;
}

const std::shared_ptr<const AudioInfo>& NorvikImporter::audio() const {
    static const std::shared_ptr<const AudioInfo> none;
    return m_description ? m_description->audio : none;
}

bool NorvikImporter::open(const std::u16string& path, int32_t streamIndex, int32_t accessMode) {
    const std::string utf8 = toUtf8(path);
    logMessage("Open: '%s', stream: %d", utf8.c_str(), streamIndex);
    if (!m_file.open(path.c_str(), openFlagsFor(accessMode))) return false;
    m_path = path;
    m_pathUtf8 = utf8;
    m_streamIndex = streamIndex;
    m_access = accessMode;
    return true;
}

HostSuites& NorvikImporter::suites() {
    if (!m_suites) m_suites = std::make_unique<HostSuites>(m_basicSuite);
    return *m_suites;
}

int32_t NorvikImporter::parse(int32_t streamIndex) {
    m_description.reset();

    auto clip = std::make_shared<ClipDescription>();
    m_file.seek(0);
    if (!clip->parser.parse(m_file)) {
        logMessage("Failed to parse avi: %s", clip->parser.errorText.c_str());
        return imBadFile;
    }
    const std::vector<size_t> audioStreams = clip->parser.streamsOfType(kAudioType);
    clip->audioStreamCount = audioStreams.size();
    if (streamIndex == 0) {
        if (const int32_t r = describeVideo(*clip)) return r;
    }
    describeAudio(*clip, audioStreams, streamIndex);
    const uint64_t audioStreamCount = clip->audioStreamCount;
    m_description = std::move(clip);

    if (audioStreamCount > static_cast<uint64_t>(streamIndex) + 1) return imIterateStreams;
    return streamIndex == 0 ? imNoErr : imBadStreamIndex;
}

int32_t NorvikImporter::describeVideo(ClipDescription& clip) {
    const std::vector<size_t> videoStreams = clip.parser.streamsOfType(kVideoType);
    if (videoStreams.empty()) {
        logMessage("Avi has no video stream");
        return imBadFile;
    }
    // A codec session of its own describes the stream; frame decoders open theirs.
    NorvikCodec codec;
    auto video = std::make_shared<VideoInfo>();
    PrTime ticks = 0;
    suites().time.get<PrSDKTimeSuite>()->GetTicksPerSecond(&ticks);
    video->ticksPerSecond = ticks;
    if (const int32_t r = video->init(*clip.parser.streams.at(videoStreams.front()), codec)) return r;
    clip.video = std::move(video);
    return imNoErr;
}

void NorvikImporter::describeAudio(ClipDescription& clip, const std::vector<size_t>& audioStreams,
                                   int32_t streamIndex) {
    auto audio = std::make_shared<AudioInfo>();
    if (audioStreams.empty()) {
        logMessage("Avi has no audio stream");
    } else if (streamIndex >= 0 && static_cast<uint64_t>(streamIndex) < audioStreams.size()) {
        audio->init(*clip.parser.streams.at(audioStreams[static_cast<size_t>(streamIndex)]));
    } else {
        logMessage("Avi invalid audio stream index: %d", streamIndex);
    }
    if (!audio->valid && streamIndex == 0 && audioStreams.size() < 2) return;
    clip.audio = std::move(audio);
}

int32_t NorvikImporter::openAndParse(const std::u16string& path, int32_t streamIndex, int32_t accessMode) {
    if (!open(path, streamIndex, accessMode)) return imBadFile;
    const int32_t r = parse(streamIndex);
    if (r != imNoErr && r != imIterateStreams && r != imBadStreamIndex) return r;
    suites();
    return imNoErr;
}
