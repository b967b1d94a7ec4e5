// Writes Norvik AVI clips for the tests, benchmarks and the norvik-mkclip program:
// moving synthetic pictures and sine tones, or pictures and audio read from
// sources (Sources.h).
//
// The video stream's format chunk is a 40-byte BITMAPINFOHEADER followed by the
// 24-byte Norvik stream format block; fccHandler and biCompression are "NRVK".
// Synthetic frames are encoded from the planar source (the coded planes), so a
// decoded frame can be compared with syntheticFrame() sample for sample.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Sources.h"

namespace clipmaker {

// Plane layout of a compressed type, as the clip maker needs it.
struct PlaneLayout {
    int planes = 0;  // coded planes
    int bits = 8;
    int chromaX = 1, chromaY = 1;
    bool rgb = false;
};
// Throws std::invalid_argument for a number that is not a compressed type.
PlaneLayout planeLayout(uint32_t type);

// A picture in coded planes (R, G, B values for RGB types, not differences).
struct Frame {
    uint32_t width = 0, height = 0;
    PlaneLayout layout;
    std::vector<uint16_t> planes[4];
    uint32_t planeWidth(int p) const;
    uint32_t planeHeight(int p) const;
};

// The deterministic picture of frame `index`: gradients, a moving box and a
// moving disc, fine texture and mild noise.
Frame syntheticFrame(uint32_t type, uint32_t width, uint32_t height, uint32_t index);

struct AudioPlan {
    uint16_t channels = 2;  // 1..32
    uint32_t sampleRate = 48000;
    uint16_t bits = 16;       // 8, 16, 24 or 32
    bool isFloat = false;     // 32-bit float (bits must be 32)
    bool extensible = false;  // WAVEFORMATEXTENSIBLE instead of WAVEFORMATEX
};

// The sample of a stream's channel at a sample frame, in [-1, 1): a sine of
// 110 * (channel + 1) * (stream + 1) Hz at half scale. The stored value is this
// times 2^(bits-1), rounded and clamped (plus 128 for 8-bit), or the float itself.
double audioSample(const AudioPlan& plan, uint32_t stream, uint32_t channel, uint64_t sampleFrame);

enum class IndexKind { OpenDml, Idx1, Both };

struct ClipPlan {
    uint32_t type = 104;  // compressed type
    uint32_t width = 320, height = 240;
    uint32_t rateNumerator = 25, rateDenominator = 1;  // frames per second = numerator / denominator
    uint32_t frames = 25;
    uint32_t fieldType = 0;             // 0 progressive, 1 upper first, 2 lower first
    uint32_t colorSpace = 2;            // 1 Rec.601, 2 Rec.709
    uint32_t range = 1;                 // 1 limited, 2 full
    uint32_t sliceHeight = 0;           // 0: the codec's default
    std::vector<uint32_t> emptyFrames;  // frame indices written as empty chunks
    std::vector<AudioPlan> audio;       // any number of PCM streams
    IndexKind index = IndexKind::Both;
    uint64_t riffLimit = 1ull << 30;  // bytes per RIFF form (OpenDML)
    uint32_t threads = 0;             // encoder threads, 0: one per processor
};

// Checks a plan; returns an empty string or what is wrong with it.
std::string validate(const ClipPlan& plan);

// The 24-byte stream format block of the clip's video stream.
std::vector<uint8_t> streamFormatBlock(const ClipPlan& plan);

// The WAVE format bytes of an audio stream (18 bytes, or 40 when extensible, whose
// channel mask is the given one or the first positions).
std::vector<uint8_t> waveFormat(const AudioPlan& audio, std::optional<uint32_t> channelMask = std::nullopt);

// Sample frames of audio that go with video frame `index` (interleaved per frame).
uint64_t audioFramesBefore(const ClipPlan& plan, const AudioPlan& audio, uint64_t videoFrame);

// What feeds a clip besides its plan. The sources are borrowed for the call.
struct ClipInputs {
    // Null: synthetic pictures, plan.frames of them. Otherwise the pictures of this
    // source, at most plan.frames; its format must have the plan's size and type
    // (fitPlanToInput arranges that).
    PictureSource* pictures = nullptr;
    // One per plan.audio entry; a missing or null entry: the synthetic tone.
    std::vector<AudioSource*> audio;
    // Called after each frame written, with the number of frames written so far.
    std::function<void(uint32_t)> progress;
};

// Writes the clip to `path` (UTF-8). Throws std::runtime_error on any failure;
// then a file it created is removed again, so a failed call leaves no clip.
// Not thread-safe for the same path; independent calls may run in parallel.
void makeClip(const std::string& path, const ClipPlan& plan, const ClipInputs& inputs = {});

// Synthetic pictures of the plan's type and size (syntheticFrame), without end.
std::unique_ptr<PictureSource> syntheticPictures(const ClipPlan& plan);
// The synthetic tone of audio stream `stream` (audioSample).
std::unique_ptr<AudioSource> syntheticAudio(const AudioPlan& audio, uint32_t stream);

}  // namespace clipmaker
