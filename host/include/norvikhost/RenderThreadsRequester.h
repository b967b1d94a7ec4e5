// Frames through imGetSourceVideo from several host threads at once, as a host's
// render threads ask one clip for the frames of a sequence: while the host waits
// for frame i, its threads ask the module for frames i..i+threads-1 of the same
// session, each through a SourceVideoRequester of its own. A frame asked for
// before it is wanted is kept until it is; frames that fall out of the window (a
// jump of the playhead) are dropped if no thread has asked for them yet, and
// given back to the module's host frames as they arrive otherwise.
//
// request() from one thread at a time (the threads it runs are its own). The
// session must outlive the requester.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "norvikhost/FrameRequester.h"

namespace norvikhost {

class RenderThreadsRequester : public FrameRequester {
public:
    // Frames of the session's clip at its size in `format`, asked by `threads`
    // (>= 1) threads. Throws std::system_error when a thread cannot be had.
    RenderThreadsRequester(FrameSession& session, prsdk::PrPixelFormat format, int threads);
    // Stops the threads once their current frames are answered; frames not
    // collected are given back.
    ~RenderThreadsRequester() override;
    RenderThreadsRequester(const RenderThreadsRequester&) = delete;
    RenderThreadsRequester& operator=(const RenderThreadsRequester&) = delete;

    // imGetSourceVideo's answer for the frame, asked by one of the threads. What a
    // thread's request threw is thrown here.
    FrameAnswer request(std::int64_t index) override;

private:
    struct Slot {
        bool begun = false;   // a thread asks the module for it now (or has)
        bool wanted = true;   // within the window; unwanted slots go once answered
        bool answered = false;
        FrameAnswer answer;
        std::exception_ptr error;
    };

    void run();
    // Ends the threads once their current requests are answered.
    void stop() noexcept;
    // REQUIRES m_mutex. Wants frames first..first+threads-1 (within the clip, and
    // `first` itself always) and nothing else.
    void want(std::int64_t first);

    FrameSession& m_session;
    prsdk::PrPixelFormat m_format;
    std::mutex m_mutex;  // guards everything below but m_threads
    std::condition_variable m_changed;
    std::deque<std::int64_t> m_waiting;   // frames no thread has taken yet, in order
    std::map<std::int64_t, Slot> m_slots;  // frames wanted or still being answered
    bool m_stopping = false;
    std::vector<std::thread> m_threads;  // written only by the constructor
};

}  // namespace norvikhost
