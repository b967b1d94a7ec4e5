#include "norvikhost/AudioClip.h"

#include <algorithm>
#include <random>

#include "norvikhost/ChannelBuffers.h"
#include "norvikhost/ClipDriver.h"

namespace norvikhost {

using namespace prsdk;

AudioClip::AudioClip(ImporterDriver& driver, const std::filesystem::path& path, std::int32_t hostStream,
                     PrAudioChannelLabel hostLabel)
    : m_driver(driver), m_path(path.u16string()), m_hostStream(hostStream) {
    m_info.openResult = reopen();
    if (!m_open) return;
    try {
        describe(hostLabel);
    } catch (const std::exception&) {
        close();  // the session goes back to the module before the failure is reported
        throw;
    }
}

AudioClip::~AudioClip() {
    try {
        close();
    } catch (const std::exception&) {
        // A destructor cannot report it; the module's failure shows in its log.
    }
}

void AudioClip::describe(PrAudioChannelLabel hostLabel) {
    imFileInfoRec8 file{};
    file.privatedata = m_session;
    file.streamIdx = m_hostStream;
    file.vidInfo.importerID = kHostImporterId;
    m_info.infoResult = m_driver.call(imGetInfo8, nullptr, &file);
    m_info.hasAudio = file.hasAudio != 0;
    m_info.audio = file.audInfo;
    m_info.duration = file.audDuration;
    if (!ready()) return;
    imGetAudioChannelLayoutRec layout{};
    layout.inPrivateData = m_session;
    std::fill(std::begin(layout.outChannelLabels), std::end(layout.outChannelLabels), hostLabel);
    m_info.layoutResult = m_driver.call(imGetAudioChannelLayout, nullptr, &layout);
    std::copy(std::begin(layout.outChannelLabels), std::end(layout.outChannelLabels), m_info.labels.begin());
}

void AudioClip::close() {
    if (!m_session) return;
    void* session = m_session;
    m_session = nullptr;
    if (m_open) {
        m_open = false;
        m_driver.call(imQuietFile, &m_fileRef, session);
    }
    m_driver.call(imCloseFile, &m_fileRef, session);
}

bool AudioClip::ready() const {
    const std::int32_t r = m_info.infoResult;
    return m_open && m_info.hasAudio && (r == imNoErr || r == imIterateStreams || r == imBadStreamIndex);
}

AudioBlock AudioClip::request(std::int64_t position, std::uint32_t size) {
    ChannelBuffers buffers(channels(), size);
    imImportAudioRec7 record{};
    record.position = position;
    record.size = size;
    record.buffer = buffers.pointers();
    record.privateData = m_session;
    AudioBlock block;
    block.position = position;
    block.size = size;
    block.result = m_driver.call(imImportAudio7, nullptr, &record);
    block.guardsIntact = buffers.guardsIntact();
    block.unwritten = buffers.unwrittenSamples();
    block.samples = buffers.interleaved();
    return block;
}

std::int32_t AudioClip::quiet() {
    m_open = false;
    return m_driver.call(imQuietFile, &m_fileRef, m_session);
}

std::int32_t AudioClip::reopen() {
    imFileOpenRec8 record{};
    record.fileinfo.filepath = m_path.c_str();
    record.inReadWrite = kReadOnly;
    record.inStreamIdx = m_hostStream;
    record.privatedata = m_session;
    const std::int32_t result = m_driver.call(imOpenFile8, &m_fileRef, &record);
    m_session = record.privatedata;
    m_open = result == imNoErr;
    return result;
}

bool playAudio(AudioClip& clip, std::uint32_t block, const std::function<void(const AudioBlock&)>& consume) {
    const std::int64_t duration = clip.info().duration;
    block = std::max<std::uint32_t>(block, 1);
    for (std::int64_t at = 0; at < duration; at += block) {
        const auto size = std::uint32_t(std::min<std::int64_t>(block, duration - at));
        const AudioBlock answer = clip.request(at == 0 ? 0 : -1, size);
        consume(answer);
        if (answer.result != imNoErr || !answer.guardsIntact) return false;
    }
    return true;
}

std::vector<AudioBlock> scrubAudio(AudioClip& clip, std::uint32_t count, std::uint32_t maxSize, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    const auto end = std::uint64_t(std::max<std::int64_t>(0, clip.info().duration)) + maxSize;
    std::vector<AudioBlock> blocks;
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto position = std::int64_t(random() % (end + 1));
        const auto size = std::uint32_t(random() % (std::uint64_t(maxSize) + 1));
        blocks.push_back(clip.request(position, size));
    }
    return blocks;
}

}  // namespace norvikhost
