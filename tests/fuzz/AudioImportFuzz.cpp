// Fuzzes imImportAudio7 through the loaded importer module: a valid clip with
// 8-bit mono, 24-bit 3-channel extensible and float stereo streams (idx1 and
// AVIX forms) is damaged by byte patches from the input, opened on each host
// stream, and asked for audio at positions and sizes from the input (negative:
// continue). A guard float overwritten around any channel buffer, or a sample
// left unwritten by a request answered 0 on a stream the module described as
// valid, aborts.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "ModuleFuzz.h"
#include "norvikhost/AudioClip.h"

namespace {

using namespace norvikhost;

// Reads little-endian values from the input, zeros once it runs out.
struct Input {
    const uint8_t* data;
    size_t size;
    uint64_t take(int bytes) {
        uint64_t value = 0;
        for (int i = 0; i < bytes && size > 0; ++i, ++data, --size) value |= uint64_t(*data) << (8 * i);
        return value;
    }
};

// The most sample frames asked for at once: more than a template stream holds
// (4 frames of video at 8 kHz), so one request still runs from before a stream's
// start past its end. Larger requests only fill and check more silence in the
// host's buffers (they took most of the run's time).
constexpr uint64_t kMaxRequestFrames = 4096;

void check(const AudioClip& clip, const AudioBlock& block) {
    if (!block.guardsIntact) std::abort();
    const bool described = clip.info().audio.sampleType != prsdk::kPrAudioSampleType_Other;
    if (block.result == prsdk::imNoErr && described && block.unwritten != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    clipmaker::ClipPlan plan = fuzzinput::smallClip(104, 4);
    plan.audio = {{1, 8000, 8, false, false}, {3, 8000, 24, false, true}, {2, 8000, 32, true, false}};
    modulefuzz::loadModule("audio-fuzz", plan);
    return 0;
}

// Input: a patch count, that many (16-bit position, value) patches, then requests
// of (host stream, 64-bit position, 16-bit size, size shift).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input input{data, size};
    modulefuzz::LoadedModule& module = modulefuzz::loaded();
    std::vector<uint8_t> clip = module.clip;
    for (uint64_t n = input.take(1) % 16; n > 0; --n) {
        const uint64_t at = input.take(2) % clip.size();
        clip[at] = uint8_t(input.take(1));
    }
    module.serve(clip);
    std::optional<AudioClip> clips[3];
    for (int requests = 0; input.size > 0 && requests < 32; ++requests) {
        const auto stream = int32_t(input.take(1) % 3);
        const auto position = int64_t(input.take(8));
        const auto frames = uint32_t(std::min<uint64_t>(input.take(2) << (input.take(1) % 3), kMaxRequestFrames));
        if (!clips[stream]) clips[stream].emplace(*module.driver, module.memoryInput, stream);
        if (!clips[stream]->ready()) continue;
        check(*clips[stream], clips[stream]->request(position, frames));
    }
    return 0;
}
