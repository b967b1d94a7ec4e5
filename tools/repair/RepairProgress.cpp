#include "RepairProgress.h"

#include <cstdio>
#include <unistd.h>

RepairProgress::RepairProgress() : m_enabled(isatty(fileno(stderr)) != 0) {}

void RepairProgress::update(uint64_t done, uint64_t total) {
    if (!m_enabled || total == 0) return;
    const Clock::time_point now = Clock::now();
    if (m_shown && now - m_last < std::chrono::milliseconds(150)) return;
    m_last = now;
    std::fprintf(stderr, "\rnorvik-repair: %llu of %llu MB (%u%%)   ", static_cast<unsigned long long>(done >> 20),
                 static_cast<unsigned long long>(total >> 20), static_cast<unsigned>(done * 100 / total));
    std::fflush(stderr);
    m_shown = true;
}

void RepairProgress::end() {
    if (m_enabled && m_shown) std::fputc('\n', stderr);
    m_enabled = false;
}
