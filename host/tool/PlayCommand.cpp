// norvik-import play [FILE] [--format CODE] [--async | --compare] [--ahead N]
// [--threads N] [--seek-every K] [--frames N] [--work MS] [--with-sync] [--seed S]:
// plays a clip as a host does, synchronously (imGetSourceVideo, from one thread or
// several render threads) or through the asynchronous importer, and reports frames
// per second, the host's wait per frame and the most threads the process had.
#include <atomic>
#include <cstdio>
#include <exception>
#include <iostream>
#include <optional>
#include <random>
#include <thread>

#include "Command.h"
#include "FramesRun.h"
#include "Playback.h"
#include "SampleClip.h"
#include "norvikhost/AsyncFrameRequester.h"
#include "norvikhost/Host.h"
#include "norvikhost/ImporterDriver.h"
#include "norvikhost/PixelFormatNames.h"
#include "norvikhost/RenderThreadsRequester.h"

namespace norvikimport {

namespace {

namespace fs = std::filesystem;
using namespace norvikhost;

// imGetSourceVideo on random frames from a thread of its own until stopped, as the
// host's thumbnails and frame cache ask while a clip plays.
class SideRequests {
public:
    SideRequests(FrameSession& session, prsdk::PrPixelFormat format, std::uint32_t seed)
        : m_thread([this, &session, format, seed] { run(session, format, seed); }) {}
    ~SideRequests() { stop(); }

    // Stops the thread; rethrows what it threw.
    void stop() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        if (m_error) std::rethrow_exception(std::exchange(m_error, nullptr));
    }

    // What the thread got; read after stop().
    std::int64_t delivered() const { return m_delivered; }
    const std::vector<std::string>& failures() const { return m_failures; }

private:
    void run(FrameSession& session, prsdk::PrPixelFormat format, std::uint32_t seed) {
        try {
            SourceVideoRequester requester(session, format);
            std::mt19937 pick(seed);
            while (!m_stop) {
                const std::int64_t index = std::int64_t(pick() % std::uint64_t(session.video().frameCount));
                const FrameAnswer answer = requester.request(index);
                if (answer.result == 0)
                    ++m_delivered;
                else
                    m_failures.push_back("frame " + std::to_string(index) + " (other thread): the module answered " +
                                       requester.describeResult(answer.result));
            }
        } catch (...) {
            m_error = std::current_exception();
        }
    }

    std::atomic<bool> m_stop{false};
    std::int64_t m_delivered = 0;
    std::vector<std::string> m_failures;
    std::exception_ptr m_error;
    std::thread m_thread;  // last: starts once the members above exist
};

void printRow(const std::string& path, const PlayResult& result) {
    const double cpuPerFrame = result.waits.empty() ? 0 : result.cpuSeconds / double(result.waits.size());
    std::printf("%-28s %8.1f %9.2f ms %9.2f ms %9.2f ms %9.2f ms %7zu %7d\n", path.c_str(),
                framesPerSecond(result), waitQuantile(result, 0.5) * 1000, waitQuantile(result, 0.99) * 1000,
                waitQuantile(result, 1.0) * 1000, cpuPerFrame * 1000, result.failures.size(), result.maxThreads);
    std::fflush(stdout);
}

class PlayCommand : public Command {
public:
    CLI::App* add(CLI::App& program) override {
        CLI::App* sub = program.add_subcommand(
            "play", "Play a clip as a host does and time the host's wait per frame (no FILE: the sample clip)");
        sub->add_option("FILE", m_file, "Norvik AVI clip to play");
        sub->add_option("--format", m_format, "Pixel format code (default: the first the clip offers)");
        sub->add_flag("--async", m_async, "Play through the asynchronous importer (default: imGetSourceVideo)");
        sub->add_flag("--compare", m_compare, "Play both ways in one run and show them side by side");
        sub->add_option("--ahead", m_ahead, "Frames announced ahead of the one collected (default 4)")
            ->check(CLI::NonNegativeNumber);
        sub->add_option("--threads", m_threads,
                        "imGetSourceVideo from N render threads at once, asking the next N frames (default 1)")
            ->check(CLI::PositiveNumber);
        sub->add_option("--seek-every", m_play.seekEvery, "Jump to another frame after every K frames (default: never)")
            ->check(CLI::NonNegativeNumber);
        sub->add_option("--frames", m_play.frames, "Frames to play (default: the clip's; loops at the end)")
            ->check(CLI::NonNegativeNumber);
        sub->add_option("--work", m_workMs, "Milliseconds of the host's own CPU work after each frame (default 0)")
            ->check(CLI::NonNegativeNumber);
        sub->add_flag("--with-sync", m_withSync,
                      "While the asynchronous importer plays, another thread asks for frames through imGetSourceVideo");
        sub->add_option("--seed", m_play.seed, "Seed of the jumps (default 1)");
        return sub;
    }

    int run(const CommonOptions& options) override {
        if (m_withSync && !m_async && !m_compare) throw std::runtime_error("--with-sync needs --async or --compare");
        m_play.workSeconds = m_workMs / 1000;
        const ClipArgument argument(m_file);
        const fs::path& clip = argument.path();
        Host host;
        ImporterDriver driver(host, resolveModulePath(options));
        requireInit(driver);
        FrameSession session(driver, clip);
        std::vector<std::string> problems = play(session, clip);
        for (std::string& problem : session.close()) problems.push_back(std::move(problem));
        driver.shutdown();
        for (const std::string& problem : problems) std::cerr << "norvik-import: error: " << problem << "\n";
        return problems.empty() ? kExitOk : kExitModuleFailed;
    }

private:
    std::vector<std::string> play(FrameSession& session, const fs::path& clip) {
        const ClipVideo& video = session.video();
        const FrameFormat& format = chooseFrameFormat(video, m_format);
        printHeader(video, clip, format.pixelFormat);
        std::vector<std::string> problems;
        const auto note = [&](const PlayResult& result) {
            problems.insert(problems.end(), result.failures.begin(), result.failures.end());
        };
        if (!m_async || m_compare) {
            const PlayResult result = playSynchronously(session, format.pixelFormat);
            printRow(m_threads > 1 ? "imGetSourceVideo, " + std::to_string(m_threads) + " threads" : "imGetSourceVideo",
                     result);
            note(result);
        }
        if (m_async || m_compare) {
            AsyncImporter importer(session);
            AsyncFrameRequester requester(session, importer, format.pixelFormat, m_ahead);
            std::optional<SideRequests> side;
            if (m_withSync) side.emplace(session, format.pixelFormat, m_play.seed + 1);
            const PlayResult result = playFrames(requester, video.frameCount, m_play);
            if (side) side->stop();
            if (const std::int32_t closed = importer.close())
                problems.push_back("closing the asynchronous importer: " + requester.describeResult(closed));
            printRow("async, " + std::to_string(m_ahead) + " ahead", result);
            note(result);
            if (side) {
                std::cout << "other thread: " << side->delivered() << " frames through imGetSourceVideo meanwhile, "
                          << side->failures().size() << " failed\n";
                problems.insert(problems.end(), side->failures().begin(), side->failures().end());
            }
        }
        return problems;
    }

    PlayResult playSynchronously(FrameSession& session, prsdk::PrPixelFormat format) const {
        if (m_threads > 1) {
            RenderThreadsRequester requester(session, format, m_threads);
            return playFrames(requester, session.video().frameCount, m_play);
        }
        SourceVideoRequester requester(session, format);
        return playFrames(requester, session.video().frameCount, m_play);
    }

    void printHeader(const ClipVideo& video, const fs::path& clip, prsdk::PrPixelFormat format) const {
        const std::int64_t frames = m_play.frames > 0 ? m_play.frames : video.frameCount;
        std::cout << "clip: " << clip.filename().string() << ", " << video.width << "x" << video.height << ", "
                  << video.frameCount << " frames at " << video.rateNumerator << "/" << video.rateDenominator
                  << "; format " << pixelFormatText(format) << " (" << pixelFormatName(format) << ")\n";
        std::cout << "playback: " << frames << " frames, "
                  << (m_play.seekEvery > 0 ? "a jump every " + std::to_string(m_play.seekEvery) + " frames"
                                           : std::string("no jumps"))
                  << ", " << m_workMs << " ms of host work after each frame\n";
        std::printf("%-28s %8s %12s %12s %12s %12s %7s %7s\n", "path", "fps", "wait median", "wait p99", "wait max",
                    "CPU/frame", "failed", "threads");
    }

    std::string m_file, m_format;
    bool m_async = false, m_compare = false, m_withSync = false;
    int m_ahead = 4;
    int m_threads = 1;
    double m_workMs = 0;
    PlayOptions m_play;
};

}  // namespace

std::unique_ptr<Command> makePlayCommand() { return std::make_unique<PlayCommand>(); }

}  // namespace norvikimport
