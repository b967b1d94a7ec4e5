#include "ClipFixtures.h"

#include <fstream>
#include <gtest/gtest.h>
#include <stdexcept>

#include "norvikhost/Host.h"
#include "norvikhost/ImporterDriver.h"
#include "norvikhost/Platform.h"

namespace endtoend {

namespace fs = std::filesystem;

fs::path modulePath() {
    return norvikhost::currentExecutablePath().parent_path() / norvikhost::importerModuleFileName();
}

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
    clipmaker::ClipPlan plan;
    plan.type = type;
    plan.width = 64;
    plan.height = 32;
    plan.frames = frames;
    plan.threads = 1;
    return plan;
}

void writeRawClip(const fs::path& path, const RawClip& clip) {
    std::vector<std::uint8_t> extra = clip.videoExtra;
    if (extra.empty() && !clip.omitVideoExtra) extra = clipmaker::streamFormatBlock(smallPlan());
    auto video = aviwriter::videoStream(makeFourCC("NRVK"), 64, 32, clip.rate, clip.scale, 24, extra);
    video.omitStrh = clip.omitStrh;
    video.omitStrf = clip.omitStrf;
    aviwriter::AviWriter writer(utf8(path), clip.options);
    const int videoStream = writer.addVideoStream(video);
    std::vector<int> audioStreams;
    for (const auto& format : clip.audioFormats)
        audioStreams.push_back(writer.addAudioStream(aviwriter::audioStream(format)));
    for (std::uint32_t i = 0; i < clip.frames; ++i) writer.writeChunk(videoStream, nullptr, 0);
    for (int stream : audioStreams) writer.writeZeroChunk(stream, clip.audioBytes);
    writer.finish();
}

void patchVideoRate(const fs::path& path, std::uint32_t rate, std::uint32_t scale) {
    std::string bytes = hosttest::readFile(path);
    const std::size_t strh = bytes.find("strh");
    if (strh == std::string::npos || bytes.compare(strh + 8, 4, "vids") != 0)
        throw std::runtime_error("no video stream header in " + path.string());
    for (int i = 0; i < 4; ++i) {
        bytes[strh + 28 + std::size_t(i)] = char(scale >> (8 * i));
        bytes[strh + 32 + std::size_t(i)] = char(rate >> (8 * i));
    }
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace endtoend
