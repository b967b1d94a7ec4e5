// The progress line of norvik-repair: "norvik-repair: 412 of 1024 MB (40%)" on
// standard error, rewritten in place a few times a second and ended with a
// newline; shown only when standard error is a terminal. Not thread-safe.
#pragma once

#include <chrono>
#include <cstdint>

class RepairProgress {
public:
    RepairProgress();
    ~RepairProgress() { end(); }
    RepairProgress(const RepairProgress&) = delete;
    RepairProgress& operator=(const RepairProgress&) = delete;

    void update(uint64_t done, uint64_t total);
    // Ends the line, if one was shown.
    void end();

private:
    using Clock = std::chrono::steady_clock;
    bool m_enabled;
    bool m_shown = false;
    Clock::time_point m_last = Clock::now();
};
