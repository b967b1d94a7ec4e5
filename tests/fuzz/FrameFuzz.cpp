// Fuzzes imGetSourceVideo through the loaded importer module, as the host asks
// for frames: a valid Norvik clip (an empty frame, idx1, OpenDML indexes and AVIX
// forms) gets byte patches (and a cut) from each input, is opened as the host
// opens it, and every frame is asked for in the first pixel format offered, then
// one in the last (a decompression switch) and one at a time taken from the input.
// Whatever the module answers, it must not crash, leak a host frame, write past a
// host frame's buffer, or write outFrame with a failure; the host checks guard
// bytes and live frames when the clip is closed.
#include <sched.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ModuleFuzz.h"
#include "norvikhost/FrameRequester.h"
#include "norvikhost/HostError.h"

namespace {

using namespace norvikhost;

// Frames asked for per input, and the largest picture decoded. The template is
// 16 x 8; a patched header that claims a picture thousands of pixels wide decodes
// the same rows of the same few bytes, only longer (such inputs took nearly all
// of the run's time), so larger claims are opened and closed but not decoded.
constexpr std::int64_t kMaxFrames = 64;
constexpr std::int64_t kMaxPixels = 1 << 14;

// The codec sizes the pool of decoding threads of each clip by the processors
// its caller may run on, starts the pool at the clip's first decode and joins it
// at the close: on a shared machine each join waits until the worker is
// scheduled, which took most of an input's time. So seven inputs in eight run
// on the one processor the process is on (released again after the input, so
// that the process can move), and the codec decodes on the calling thread; the
// eighth, chosen by the input's bytes so that a rerun is the same, keeps every
// processor and fuzzes the decode across threads.
class ProcessorScope {
public:
    ProcessorScope(const uint8_t* data, size_t size) {
        std::uint32_t hash = 2166136261u;  // FNV-1a
        for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
        const int processor = sched_getcpu();
        if (hash % 8 == 0 || processor < 0 || sched_getaffinity(0, sizeof m_all, &m_all) != 0) return;
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(processor, &one);
        m_pinned = sched_setaffinity(0, sizeof one, &one) == 0;
    }
    ~ProcessorScope() {
        if (m_pinned) sched_setaffinity(0, sizeof m_all, &m_all);
    }
    ProcessorScope(const ProcessorScope&) = delete;
    ProcessorScope& operator=(const ProcessorScope&) = delete;

private:
    cpu_set_t m_all{};
    bool m_pinned = false;
};

void fail(const std::string& what) {
    std::fprintf(stderr, "clip_frames_fuzz: %s\n", what.c_str());
    std::abort();
}

// `clip` is the damaged file; `time` the input, whose first bytes give an odd frame time.
void askForFrames(const std::vector<uint8_t>& clip, const uint8_t* time, size_t timeSize) {
    modulefuzz::LoadedModule& module = modulefuzz::loaded();
    module.serve(clip);
    std::unique_ptr<FrameSession> session;
    try {
        session = std::make_unique<FrameSession>(*module.driver, module.memoryInput);
    } catch (const HostError&) {
        return;  // not a clip with video: the open path has its own fuzz target
    }
    const ClipVideo& video = session->video();
    if (!video.pixelFormats.empty() && std::int64_t(video.width) * video.height <= kMaxPixels) {
        // A broken protocol (outFrame written with a failure) throws HostError out of here: a finding.
        SourceVideoRequester first(*session, video.pixelFormats.front());
        for (std::int64_t i = 0; i < std::min(video.frameCount, kMaxFrames); ++i) first.request(i);
        SourceVideoRequester last(*session, video.pixelFormats.back());
        last.request(0);
        prsdk::PrTime odd = 0;
        if (timeSize) std::memcpy(&odd, time, std::min(timeSize, sizeof odd));
        last.requestAt(odd, {prsdk::imFrameFormat{0, 0, video.pixelFormats.back()}});
    }
    for (const std::string& problem : session->close()) fail(problem);
    if (module.host.frames().liveCount() != 0) fail("host frames left alive after the clip was closed");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    clipmaker::ClipPlan plan = fuzzinput::smallClip(104, 6);
    plan.emptyFrames = {3};
    modulefuzz::loadModule("frames-fuzz", plan);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ProcessorScope processors(data, size);
    askForFrames(fuzzinput::patched(modulefuzz::loaded().clip, data, size), data, size);
    return 0;
}
