#include "Playback.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>

#include "norvikhost/Platform.h"

namespace norvikimport {

using namespace norvikhost;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Keeps this thread's CPU busy for `seconds`, as a host compositing a frame does.
void busyWork(double seconds) {
    if (seconds <= 0) return;
    const Clock::time_point start = Clock::now();
    volatile std::uint64_t sink = 0;
    while (secondsSince(start) < seconds)
        for (int i = 0; i < 1000; ++i) sink = sink + std::uint64_t(i);
}

}  // namespace

double framesPerSecond(const PlayResult& result) {
    return result.wallSeconds > 0 ? double(result.waits.size()) / result.wallSeconds : 0;
}

double waitQuantile(const PlayResult& result, double q) {
    if (result.waits.empty()) return 0;
    std::vector<double> sorted = result.waits;
    std::sort(sorted.begin(), sorted.end());
    const auto rank = std::size_t(std::ceil(q * double(sorted.size())));
    return sorted[std::min(sorted.size() - 1, rank > 0 ? rank - 1 : 0)];
}

PlayResult playFrames(FrameRequester& requester, std::int64_t frameCount, const PlayOptions& options) {
    PlayResult result;
    if (frameCount <= 0) return result;
    std::mt19937 jumps(options.seed);
    const std::int64_t total = options.frames > 0 ? options.frames : frameCount;
    const Clock::time_point start = Clock::now();
    const double cpuStart = processCpuSeconds();
    std::int64_t position = 0;
    for (std::int64_t n = 0; n < total; ++n) {
        if (n > 0 && options.seekEvery > 0 && n % options.seekEvery == 0) {
            position = std::int64_t(jumps() % std::uint64_t(frameCount));
            ++result.jumps;
        }
        const Clock::time_point asked = Clock::now();
        FrameAnswer answer = requester.request(position);
        result.waits.push_back(secondsSince(asked));
        result.maxThreads = std::max(result.maxThreads, processThreadCount());
        if (answer.result == 0)
            ++result.collected;
        else
            result.failures.push_back("frame " + std::to_string(position) + ": the module answered " +
                                      requester.describeResult(answer.result));
        answer.frame.reset();  // shown; the host gives it back
        busyWork(options.workSeconds);
        position = (position + 1) % frameCount;
    }
    result.wallSeconds = secondsSince(start);
    result.cpuSeconds = processCpuSeconds() - cpuStart;
    return result;
}

}  // namespace norvikimport
