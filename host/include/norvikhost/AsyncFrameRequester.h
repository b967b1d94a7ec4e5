// Frames as a player asks for them through the asynchronous importer: before it
// collects frame i it keeps frames i..i+ahead announced (within the clip), so
// that the module decodes them while the host does other work. Asking for any
// other frame than the one after the last collected (a jump of the playhead)
// flushes what is announced and announces again from there.
//
// One playback at a time: not thread-safe (the importer it uses is).
#pragma once

#include <cstdint>

#include "norvikhost/AsyncImporter.h"
#include "norvikhost/FrameRequester.h"

namespace norvikhost {

class AsyncFrameRequester : public FrameRequester {
public:
    // Frames of the session's clip at its size in `format`, `ahead` (>= 0) frames
    // announced past the one collected.
    AsyncFrameRequester(FrameSession& session, AsyncImporter& importer, prsdk::PrPixelFormat format, int ahead);

    // The answer is aiGetFrame's (aiNoError, aiUnknownError, or 99).
    FrameAnswer request(std::int64_t index) override;
    std::string describeResult(std::int32_t result) const override;

    std::int64_t flushes() const { return m_flushes; }

private:
    void announceUpTo(std::int64_t last);

    FrameSession& m_session;
    AsyncImporter& m_importer;
    prsdk::PrPixelFormat m_format;
    int m_ahead;
    std::int64_t m_next = 0;       // the frame a playback that goes on collects next
    std::int64_t m_announced = 0;  // frames m_next .. m_announced - 1 are announced
    std::int64_t m_flushes = 0;
};

}  // namespace norvikhost
