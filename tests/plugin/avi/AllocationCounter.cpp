#include "AllocationCounter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

// Each block carries its size in front, at the alignment operator new promises.
constexpr size_t kPrefix = alignof(std::max_align_t);
constexpr uint64_t kNoFailure = UINT64_MAX;

std::atomic<uint64_t> g_current{0};
std::atomic<uint64_t> g_peak{0};
std::atomic<uint64_t> g_untilFailure{kNoFailure};
std::atomic<bool> g_triggered{false};

void* allocate(size_t size) {
    uint64_t left = g_untilFailure.load();
    while (left != kNoFailure && !g_untilFailure.compare_exchange_weak(left, left == 0 ? kNoFailure : left - 1)) {}
    if (left == 0) {
        g_triggered = true;
        throw std::bad_alloc();
    }
    auto* block = static_cast<unsigned char*>(std::malloc(size + kPrefix));
    if (!block) throw std::bad_alloc();
    *reinterpret_cast<size_t*>(block) = size;
    const uint64_t now = g_current += size;
    uint64_t peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {}
    return block + kPrefix;
}

void release(void* p) noexcept {
    if (!p) return;
    auto* block = static_cast<unsigned char*>(p) - kPrefix;
    g_current -= *reinterpret_cast<size_t*>(block);
    std::free(block);
}

}  // namespace

void* operator new(size_t size) { return allocate(size); }
void* operator new[](size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, size_t) noexcept { release(p); }
void operator delete[](void* p, size_t) noexcept { release(p); }

namespace avitest {

uint64_t AllocationCounter::current() { return g_current; }
uint64_t AllocationCounter::peak() { return g_peak; }
void AllocationCounter::resetPeak() { g_peak = g_current.load(); }

FailingAllocation::FailingAllocation(uint64_t succeeding) {
    g_triggered = false;
    g_untilFailure = succeeding;
}

FailingAllocation::~FailingAllocation() { g_untilFailure = kNoFailure; }

bool FailingAllocation::triggered() const { return g_triggered; }

}  // namespace avitest
