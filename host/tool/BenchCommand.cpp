// norvik-import bench FILE [--format CODE] [--frames N] [--rounds R]: frames per
// second through imGetSourceVideo (the loaded module, host frames and all) against
// the codec library alone decoding the same compressed frames into the same pixel
// format and row layout, in the same run; the difference is the importer's overhead.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>

#include "ClipChunks.h"
#include "Command.h"
#include "FramesRun.h"
#include "ReferenceDecoder.h"
#include "norvikhost/FrameRequester.h"
#include "norvikhost/Host.h"
#include "norvikhost/ImporterDriver.h"
#include "norvikhost/PixelFormatNames.h"
#include "norvikhost/PixelLayout.h"
#include "norvikhost/Platform.h"

namespace norvikimport {

namespace {

namespace fs = std::filesystem;
using namespace norvikhost;
using prsdk::PrPixelFormat;

struct Timing {
    double wall = 1e300;  // best of the rounds, seconds
    double cpu = 1e300;
};

void timeRun(Timing& best, const std::function<void()>& run) {
    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = processCpuSeconds();
    run();
    best.cpu = std::min(best.cpu, processCpuSeconds() - cpuStart);
    best.wall =
        std::min(best.wall, std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count());
}

// The compressed bytes the importer decodes for frame `index`: its own, or the
// nearest earlier (else later) frame's when it is empty.
const std::vector<std::uint8_t>& dataOf(const std::vector<std::vector<std::uint8_t>>& frames, std::size_t index) {
    for (std::size_t i = index + 1; i-- > 0;)
        if (!frames[i].empty()) return frames[i];
    for (std::size_t i = index + 1; i < frames.size(); ++i)
        if (!frames[i].empty()) return frames[i];
    throw std::runtime_error("every frame of the clip is empty");
}

std::string fps(double frames, double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", frames / seconds);
    return text;
}

std::string percent(double ours, double reference) {
    char text[32];
    std::snprintf(text, sizeof text, "%+.1f %%", (ours - reference) / reference * 100);
    return text;
}

class BenchCommand : public Command {
public:
    CLI::App* add(CLI::App& program) override {
        CLI::App* sub = program.add_subcommand(
            "bench", "Frames per second through imGetSourceVideo against the codec library alone");
        sub->add_option("FILE", m_file, "Norvik AVI clip")->required();
        sub->add_option("--format", m_format, "Pixel format code (default: the first the clip offers)");
        sub->add_option("--frames", m_frames, "Frames per timed run (default 100; the clip repeats)")
            ->check(CLI::PositiveNumber);
        sub->add_option("--rounds", m_rounds, "Timed runs of each, alternating (default 5; the best counts)")
            ->check(CLI::PositiveNumber);
        return sub;
    }

    int run(const CommonOptions& options) override {
        Host host;
        ImporterDriver driver(host, resolveModulePath(options));
        requireInit(driver);
        FrameSession session(driver, m_file);
        measure(session);
        for (const std::string& problem : session.close()) throw std::runtime_error(problem);
        driver.shutdown();
        return kExitOk;
    }

private:
    void measure(FrameSession& session) {
        const ClipVideo& video = session.video();
        const FrameFormat& format = chooseFrameFormat(video, m_format);
        const std::int64_t count = std::min<std::int64_t>(video.frameCount, m_frames);
        const ClipChunks chunks = readClipChunks(m_file);
        if (std::int64_t(chunks.frames.size()) < count)
            throw std::runtime_error("the clip has fewer chunks than frames");
        std::ifstream file(m_file, std::ios::binary);
        std::vector<std::vector<std::uint8_t>> compressed;
        for (std::int64_t i = 0; i < count; ++i) compressed.push_back(readChunk(file, chunks.frames[std::size_t(i)]));

        const PrPixelFormat pixelFormat = format.pixelFormat;
        const std::int64_t rowBytes = hostRowBytes(pixelFormat, video.width);
        ReferenceDecoder reference(chunks.streamFormat, format, video.width, video.height, rowBytes,
                                   !session.host().originTopLeft(pixelFormat));
        SourceVideoRequester requester(session, pixelFormat);
        const auto throughImporter = [&] {
            for (int i = 0; i < m_frames; ++i) {
                const FrameAnswer answer = requester.request(i % count);
                if (answer.result)
                    throw std::runtime_error("frame " + std::to_string(i % count) + ": the module answered " +
                                             std::to_string(answer.result));
            }
        };
        const auto codecAlone = [&] {
            for (int i = 0; i < m_frames; ++i) {
                const std::vector<std::uint8_t>& frame = dataOf(compressed, std::size_t(i % count));
                reference.decode(frame.data(), std::uint32_t(frame.size()));
            }
        };
        const bool same = sameFirstFrame(requester, reference, dataOf(compressed, 0), pixelFormat, video.width);
        Timing importer, codec, warmUp;
        timeRun(warmUp, throughImporter);
        timeRun(warmUp, codecAlone);
        for (int round = 0; round < m_rounds; ++round) {
            timeRun(importer, throughImporter);
            timeRun(codec, codecAlone);
        }
        print(video, pixelFormat, importer, codec, same);
    }

    static bool sameFirstFrame(SourceVideoRequester& requester, ReferenceDecoder& reference,
                               const std::vector<std::uint8_t>& first, PrPixelFormat format, std::int32_t width) {
        const FrameAnswer answer = requester.request(0);
        if (answer.result) return false;
        reference.decode(first.data(), std::uint32_t(first.size()));
        return answer.frame.picture() == reference.picture(packedRowBytes(format, width));
    }

    void print(const ClipVideo& video, PrPixelFormat format, const Timing& importer, const Timing& codec,
               bool same) const {
        const double n = m_frames;
        std::cout << "clip: " << fs::path(m_file).filename().string() << ", " << video.width << "x" << video.height
                  << ", " << video.frameCount << " frames; format " << pixelFormatText(format) << " ("
                  << pixelFormatName(format) << "); " << m_frames << " frames per run, best of " << m_rounds
                  << " alternating runs\n";
        std::cout << "first frame equal through both: " << (same ? "yes" : "NO") << "\n";
        std::cout << "imGetSourceVideo: " << fps(n, importer.wall) << " fps wall, " << fps(n, importer.cpu)
                  << " fps CPU\n";
        std::cout << "codec alone:      " << fps(n, codec.wall) << " fps wall, " << fps(n, codec.cpu) << " fps CPU\n";
        std::cout << "overhead:         " << percent(importer.wall, codec.wall) << " wall, "
                  << percent(importer.cpu, codec.cpu) << " CPU\n";
    }

    std::string m_file, m_format;
    int m_frames = 100;
    int m_rounds = 5;
};

}  // namespace

std::unique_ptr<Command> makeBenchCommand() { return std::make_unique<BenchCommand>(); }

}  // namespace norvikimport
