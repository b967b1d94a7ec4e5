#include "ClipFixtures.h"

#include <gtest/gtest.h>

#include "norvikhost/Host.h"
#include "norvikhost/ImporterDriver.h"
#include "norvikhost/Platform.h"

namespace endtoend {

namespace fs = std::filesystem;

fs::path modulePath() { return hosttest::binDir() / norvikhost::importerModuleFileName(); }

norvikimport::ClipReport inspect(const fs::path& clip) {
    norvikhost::Host host;
    norvikhost::ImporterDriver driver(host, modulePath());
    norvikimport::ClipReport report = norvikimport::inspectClip(driver, clip);
    EXPECT_EQ(host.outstandingSuites(), 0) << clip;
    EXPECT_EQ(host.memory().livePtrCount() + host.memory().liveHandleCount(), 0u) << clip;
    EXPECT_EQ(host.memory().badDisposals(), 0u) << clip;
    return report;
}

clipmaker::ClipPlan smallPlan(std::uint32_t type, std::uint32_t frames) {
    return {.type = type, .width = 64, .height = 32, .frames = frames, .emptyFrames = {}, .audio = {}, .threads = 1};
}

aviwriter::StreamSetup rawVideo(const std::vector<std::uint8_t>& extra) {
    return aviwriter::videoStream(makeFourCC("NRVK"), 64, 32, 25, 1, 24, extra);
}

void writeRawClip(const fs::path& path, const RawClip& clip) {
    aviwriter::AviWriter writer(utf8(path), clip.options);
    const int videoStream = writer.addVideoStream(clip.video);
    std::vector<int> audioStreams;
    for (const auto& format : clip.audioFormats)
        audioStreams.push_back(writer.addAudioStream(aviwriter::audioStream(format)));
    for (std::uint32_t i = 0; i < clip.frames; ++i) writer.writeChunk(videoStream, nullptr, 0);
    for (int stream : audioStreams) writer.writeZeroChunk(stream, clip.audioBytes);
    writer.finish();
}

}  // namespace endtoend
