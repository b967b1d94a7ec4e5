// A clip opened for the audio of one host stream, as the host opens it:
// imOpenFile8 with the stream index, imGetInfo8 for that stream and
// imGetAudioChannelLayout; then imImportAudio7 requests into guarded channel
// buffers (ChannelBuffers), whose guards are checked after every call; and
// imQuietFile and imCloseFile when it is destroyed. Host stream numbers are the
// ones `norvik-import info` shows: 0 carries the first audio stream, k the
// (k+1)-th.
//
// The driver must outlive the clip. Not thread-safe.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "norvikhost/ImporterDriver.h"
#include "prsdk/PrSDK.h"

namespace norvikhost {

struct AudioStreamInfo {
    std::int32_t openResult = 0;
    std::int32_t infoResult = 0;
    bool hasAudio = false;
    prsdk::imAudioInfoRec7 audio{};
    std::int64_t duration = 0;  // sample frames (audDuration)
    std::int32_t layoutResult = 0;
    std::array<prsdk::PrAudioChannelLabel, 32> labels{};  // as the module left them
};

struct AudioBlock {
    std::int64_t position = 0;  // as asked; negative: continue after the last request
    std::uint32_t size = 0;
    std::int32_t result = 0;
    bool guardsIntact = true;
    std::uint64_t unwritten = 0;  // samples the module left untouched
    std::vector<float> samples;   // interleaved, as the host received them
};

class AudioClip {
public:
    // Opens and describes the stream; `hostLabel` is what the host writes into
    // every channel label before asking for the layout.
    AudioClip(ImporterDriver& driver, const std::filesystem::path& path, std::int32_t hostStream,
              prsdk::PrAudioChannelLabel hostLabel = prsdk::kPrAudioChannelLabel_Discrete);
    ~AudioClip();
    AudioClip(const AudioClip&) = delete;
    AudioClip& operator=(const AudioClip&) = delete;

    const AudioStreamInfo& info() const { return m_info; }
    // Opened, described (imNoErr, imIterateStreams or imBadStreamIndex) and with audio.
    bool ready() const;
    std::uint32_t channels() const { return std::uint32_t(m_info.audio.numChannels); }

    // One imImportAudio7 of `size` frames at `position`.
    AudioBlock request(std::int64_t position, std::uint32_t size);
    // imQuietFile, then imOpenFile8 on the same session (as a host does after a pause).
    std::int32_t quiet();
    std::int32_t reopen();

    ImporterDriver& driver() { return m_driver; }
    void* session() const { return m_session; }

private:
    void describe(prsdk::PrAudioChannelLabel hostLabel);
    void close();  // imQuietFile (when open) and imCloseFile; the session is gone after it

    ImporterDriver& m_driver;
    std::u16string m_path;
    std::int32_t m_hostStream;
    prsdk::imFileRef m_fileRef = nullptr;
    void* m_session = nullptr;
    bool m_open = false;
    AudioStreamInfo m_info;
};

// The host playing: blocks of `block` frames from frame 0 to the stream's
// duration (the last one shorter), the first at position 0 and every later one
// at -1. `consume` sees each block; returns false, after the block that broke
// it, when a result is not 0 or a guard was overwritten.
bool playAudio(AudioClip& clip, std::uint32_t block, const std::function<void(const AudioBlock&)>& consume);

// The host scrubbing: `count` requests from a generator seeded with `seed`, at
// positions in [0, duration + maxSize] and of 0 to maxSize frames.
std::vector<AudioBlock> scrubAudio(AudioClip& clip, std::uint32_t count, std::uint32_t maxSize, std::uint64_t seed);

}  // namespace norvikhost
