#include "audio/AudioHandlers.h"

#include <algorithm>
#include <stdexcept>

#include "audio/AudioReader.h"
#include "audio/ChannelLayout.h"
#include "log/Log.h"
#include "log/Names.h"

using namespace prsdk;

namespace {

const std::shared_ptr<const AudioInfo>& audioOf(const NorvikImporter& session) {
    if (!session.audio()) throw std::logic_error("m_audioInfo is NULL");
    return session.audio();
}

}  // namespace

prMALError OnImportAudio7(NorvikImporter& session, AudioCursor& cursor, imImportAudioRec7* request) {
    const std::shared_ptr<const AudioInfo>& audio = audioOf(session);
    cursor.follow(audio);
    const AudioSuiteSource suite = [&session]() -> const PrSDKAudioSuite& {
        return *session.suites().audio.get<PrSDKAudioSuite>();
    };
    return importAudio(*audio, cursor, session.file(), suite, *request);
}

prMALError OnGetAudioChannelLayout(const NorvikImporter& session, imGetAudioChannelLayoutRec* layout) {
    const AudioInfo& audio = *audioOf(session);
    if (!audio.valid) return imUnsupported;
    PrAudioChannelLabel labels[32];
    std::copy_n(layout->outChannelLabels, 32, labels);  // the record is packed: work on an aligned copy
    fillChannelLabels(audio.waveFormat, labels);
    std::copy_n(labels, 32, layout->outChannelLabels);
    logMessage("Audio channel layout (%d channels):", audio.waveFormat.nChannels);
    const int shown = std::min<int>(audio.waveFormat.nChannels, 32);
    for (int i = 0; i < shown; ++i) logMessage("    %d: %s", i, channelLabelName(labels[i]));
    return imNoErr;
}
