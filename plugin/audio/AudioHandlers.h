// The host's audio selectors for one session: imImportAudio7 delivers samples,
// imGetAudioChannelLayout names the channels. A session without an audio
// description throws std::logic_error("m_audioInfo is NULL") (the entry point's
// barrier answers it).
#pragma once

#include "audio/AudioCursor.h"
#include "importer/NorvikImporter.h"
#include "prsdk/PrSDK.h"

// 0, or what importAudio answers (see AudioReader.h); the cursor follows the
// session's audio description.
prsdk::prMALError OnImportAudio7(NorvikImporter& session, AudioCursor& cursor, prsdk::imImportAudioRec7* request);
// 0 with the labels written and logged, or 3 (imUnsupported) for an invalid description.
prsdk::prMALError OnGetAudioChannelLayout(const NorvikImporter& session, prsdk::imGetAudioChannelLayoutRec* layout);
