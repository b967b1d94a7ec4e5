// Where the audio reader stands in one audio description, and the buffer it
// converts through (reused between requests). It follows one description at a
// time: asked about another (the clip was parsed again), it starts afresh at
// sample frame 0, as a new session would.
//
// Owned by whoever reads the audio (the file session); not thread-safe.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "streams/AudioInfo.h"

class AudioCursor {
public:
    // Starts afresh when `audio` is not the description followed so far.
    void follow(const std::shared_ptr<const AudioInfo>& audio);

    int64_t position() const { return m_position; }
    void moveTo(int64_t position) { m_position = position; }
    std::vector<uint8_t>& conversionBuffer() { return m_conversionBuffer; }

private:
    std::weak_ptr<const AudioInfo> m_audio;
    int64_t m_position = 0;  // the sample frame where the last request ended
    std::vector<uint8_t> m_conversionBuffer;
};
