// The progress line of norvik-mkclip: "frame 57 of 120 (47%), 12.3 frames/s" on
// standard error, rewritten in place (carriage return) a few times a second and
// ended with a newline. Shown only when standard error is a terminal, so logs and
// pipes get nothing. Not thread-safe.
#pragma once

#include <chrono>
#include <cstdint>

class ProgressLine {
public:
    // `total` frames expected; 0 when the input's length is not known.
    explicit ProgressLine(uint32_t total);
    ~ProgressLine() { end(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // `done` frames written so far.
    void update(uint32_t done);
    // Shows the last count and ends the line, if a line was shown; then nothing more is shown.
    void end();

private:
    void show(uint32_t done);

    using Clock = std::chrono::steady_clock;
    bool m_enabled;
    uint32_t m_total;
    uint32_t m_done = 0;
    bool m_shown = false;
    Clock::time_point m_start = Clock::now(), m_last = m_start;
};
