#include "audio/AudioHandlers.h"

#include <algorithm>
#include <stdexcept>

#include "audio/AudioReader.h"
#include "audio/ChannelLayout.h"
#include "log/Log.h"
#include "log/Names.h"

using namespace prsdk;

namespace {

AudioInfo& audioOf(NorvikImporter& session) {
    if (!session.m_audioInfo) throw std::logic_error("m_audioInfo is NULL");
    return *session.m_audioInfo;
}

}  // namespace

prMALError onImportAudio7(NorvikImporter& session, imImportAudioRec7* request) {
    AudioInfo& audio = audioOf(session);
    const AudioSuiteSource suite = [&session]() -> const PrSDKAudioSuite& {
        return *session.ensureSuites()->audio.get<PrSDKAudioSuite>();
    };
    return importAudio(audio, session.file(), suite, *request);
}

prMALError onGetAudioChannelLayout(NorvikImporter& session, imGetAudioChannelLayoutRec* layout) {
    const AudioInfo& audio = audioOf(session);
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
