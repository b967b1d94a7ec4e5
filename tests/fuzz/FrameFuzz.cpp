// Fuzzes imGetSourceVideo through the loaded importer module, as the host asks
// for frames: a valid Norvik clip (an empty frame, idx1, OpenDML indexes and AVIX
// forms) gets byte patches (and a cut) from each input, is opened as the host
// opens it, and every frame is asked for in the first pixel format offered, then
// one in the last (a decompression switch) and one at a time taken from the input.
// Whatever the module answers, it must not crash, leak a host frame, write past a
// host frame's buffer, or write outFrame with a failure; the host checks guard
// bytes and live frames when the clip is closed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ClipMaker.h"
#include "norvikhost/FrameRequester.h"
#include "norvikhost/HostError.h"
#include "norvikhost/Platform.h"

namespace {

namespace fs = std::filesystem;
using namespace norvikhost;

// Frames asked for per input, and the largest picture decoded (the host would
// refuse nothing smaller than 2 GB, and big decodes only make the run slow).
constexpr std::int64_t kMaxFrames = 64;
constexpr std::int64_t kMaxPixels = 1 << 20;

std::unique_ptr<Host> g_host;
std::unique_ptr<ImporterDriver> g_driver;
std::vector<uint8_t> g_template;
fs::path g_input;

std::vector<uint8_t> makeTemplate(const fs::path& path) {
    clipmaker::ClipSpec plan;
    plan.type = 104;
    plan.width = 16;
    plan.height = 8;
    plan.frames = 6;
    plan.emptyFrames = {3};
    plan.threads = 1;
    plan.riffLimit = 2048;
    clipmaker::makeClip(path.string(), plan);
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void fail(const std::string& what) {
    std::fprintf(stderr, "clip_frames_fuzz: %s\n", what.c_str());
    std::abort();
}

// `clip` is the damaged file; `time` the input, whose first bytes give an odd frame time.
void askForFrames(const std::vector<uint8_t>& clip, const uint8_t* time, size_t timeSize) {
    {
        std::ofstream out(g_input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(clip.data()), std::streamsize(clip.size()));
    }
    std::unique_ptr<FrameSession> session;
    try {
        session = std::make_unique<FrameSession>(*g_driver, g_input);
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
    if (g_host->frames().liveCount() != 0) fail("host frames left alive after the clip was closed");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const fs::path folder = fs::temp_directory_path();
    const std::string tag = std::to_string(std::rand()) + "-" + std::to_string(reinterpret_cast<uintptr_t>(&g_host));
    g_input = folder / ("norvik-frames-fuzz-" + tag + ".avi");
    const fs::path templatePath = folder / ("norvik-frames-fuzz-template-" + tag + ".avi");
    g_template = makeTemplate(templatePath);
    fs::remove(templatePath);
    g_host = std::make_unique<Host>();
    g_driver =
        std::make_unique<ImporterDriver>(*g_host, currentExecutablePath().parent_path() / importerModuleFileName());
    if (g_driver->init().result != 0) std::abort();
    std::atexit([] {
        std::error_code ignored;
        fs::remove(g_input, ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Patches: records of (16-bit position, value); an odd length also cuts the file.
    std::vector<uint8_t> patched = g_template;
    for (size_t i = 0; i + 3 <= size; i += 3)
        patched[(size_t(data[i]) | size_t(data[i + 1]) << 8) % patched.size()] = data[i + 2];
    if (size % 3 == 1) patched.resize((size_t(data[size - 1]) * 16) % patched.size());
    askForFrames(patched, data, size);
    return 0;
}
