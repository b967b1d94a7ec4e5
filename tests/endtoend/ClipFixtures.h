// Clips for the clip information tests, made at test time, and a way to run
// norvik-import info's report on them in-process through the real module.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "AviWriter.h"
#include "ClipMaker.h"
#include "ClipReport.h"
#include "TestPlatform.h"

namespace endtoend {

using hosttest::TempFolder;
using hosttest::utf8;

// The importer module of this build (beside the test program).
std::filesystem::path modulePath();

// Loads the module into a fresh host and runs the info sequence on the clip;
// fails the test when the module keeps a suite or a host memory block after it.
norvikimport::ClipReport inspect(const std::filesystem::path& clip);

// A small clip of the given type: 64 x 32, `frames` frames at 25/1, no audio.
clipmaker::ClipPlan smallPlan(std::uint32_t type = 104, std::uint32_t frames = 3);

// The video stream of a RawClip: 64 x 32 'NRVK' at 25/1, its format the bitmap
// header and `extra` (the codec's 24-byte block of smallPlan() by default).
aviwriter::StreamSetup rawVideo(const std::vector<std::uint8_t>& extra = clipmaker::streamFormatBlock(smallPlan()));

// A clip whose video frames are all empty chunks, written with the AVI writer
// directly, so that clips of millions of frames stay cheap. Every audio stream
// gets one chunk of `audioBytes` zero bytes.
struct RawClip {
    std::uint32_t frames = 3;
    aviwriter::StreamSetup video = rawVideo();
    std::vector<std::vector<std::uint8_t>> audioFormats = {};  // raw WAVE format bytes per stream
    std::uint32_t audioBytes = 0;
    aviwriter::Options options = {};
};
void writeRawClip(const std::filesystem::path& path, const RawClip& clip);

}  // namespace endtoend
