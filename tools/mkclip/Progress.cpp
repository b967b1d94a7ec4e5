#include "Progress.h"

#include <cstdio>
#include <unistd.h>

ProgressLine::ProgressLine(uint32_t total) : m_enabled(isatty(fileno(stderr)) != 0), m_total(total) {}

void ProgressLine::update(uint32_t done) {
    m_done = done;
    if (!m_enabled) return;
    const Clock::time_point now = Clock::now();
    if (m_shown && now - m_last < std::chrono::milliseconds(150)) return;
    m_last = now;
    show(done);
}

void ProgressLine::end() {
    if (!m_enabled) return;
    if (m_shown) {
        show(m_done);
        std::fputc('\n', stderr);
    }
    m_enabled = false;
}

void ProgressLine::show(uint32_t done) {
    const double seconds = std::chrono::duration<double>(Clock::now() - m_start).count();
    const double rate = seconds > 0 ? done / seconds : 0.0;
    if (m_total != 0)
        std::fprintf(stderr, "\rnorvik-mkclip: frame %u of %u (%u%%), %.1f frames/s   ", done, m_total,
                     static_cast<unsigned>(uint64_t{done} * 100 / m_total), rate);
    else
        std::fprintf(stderr, "\rnorvik-mkclip: frame %u, %.1f frames/s   ", done, rate);
    std::fflush(stderr);
    m_shown = true;
}
