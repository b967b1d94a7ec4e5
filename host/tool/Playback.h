// Playing a clip as a host does: frames collected one after the other through a
// FrameRequester, the host busy with its own work between two collections, and
// the playhead jumping now and then; the host's wait for every frame is timed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "norvikhost/FrameRequester.h"

namespace norvikimport {

struct PlayOptions {
    std::int64_t frames = 0;     // frames to collect; 0: the clip's count (playback loops at the end)
    std::int64_t seekEvery = 0;  // jump to another frame after every K collected; 0: never
    double workSeconds = 0;      // the host's own work (busy on the CPU) after each collection
    std::uint32_t seed = 1;      // chooses where the jumps land
};

struct PlayResult {
    std::int64_t collected = 0;         // frames delivered
    std::vector<std::string> failures;  // one line per frame the module did not deliver
    std::int64_t jumps = 0;
    double wallSeconds = 0;
    double cpuSeconds = 0;      // of the whole process (decode tasks included)
    std::vector<double> waits;  // seconds the host waited for each frame, in order
    int maxThreads = 0;         // the most threads the process had, sampled after each request
};

// Frames (delivered or not) per second over the whole playback, host work included.
double framesPerSecond(const PlayResult& result);
// The q-quantile (0..1) of the waits by nearest rank, in seconds; 0 without waits.
double waitQuantile(const PlayResult& result, double q);

// Plays a clip of `frameCount` frames from frame 0. Throws what the requester throws.
PlayResult playFrames(norvikhost::FrameRequester& requester, std::int64_t frameCount, const PlayOptions& options);

}  // namespace norvikimport
