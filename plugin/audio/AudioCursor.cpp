#include "audio/AudioCursor.h"

void AudioCursor::follow(const std::shared_ptr<const AudioInfo>& audio) {
    if (m_audio.lock() == audio) return;
    m_audio = audio;
    m_position = 0;
    m_conversionBuffer = {};
}
