// norvik-import frames [FILE] [--format CODE] [--range FIRST:LAST] [--md5]
// [--png DIR] [--raw DIR] [--async [--ahead N] | --threads N]: every frame of a
// range through imGetSourceVideo (from one thread or several render threads), or
// through the asynchronous importer, with the same output.
#include <iostream>
#include <memory>

#include "Command.h"
#include "FramesRun.h"
#include "PngFile.h"
#include "SampleClip.h"
#include "norvikhost/AsyncFrameRequester.h"
#include "norvikhost/FrameRequester.h"
#include "norvikhost/Host.h"
#include "norvikhost/ImporterDriver.h"
#include "norvikhost/PixelFormatNames.h"
#include "norvikhost/Platform.h"
#include "norvikhost/RenderThreadsRequester.h"

namespace norvikimport {

namespace {

namespace fs = std::filesystem;
using namespace norvikhost;

class FramesCommand : public Command {
public:
    CLI::App* add(CLI::App& program) override {
        CLI::App* sub = program.add_subcommand(
            "frames",
            "Ask for every frame of a range through imGetSourceVideo or, with --async, the asynchronous importer "
            "(no FILE: the sample clip)");
        sub->add_option("FILE", m_file, "Norvik AVI clip to open");
        sub->add_option("--format", m_format,
                        "Pixel format code as info prints it (yuy2, bgra, v210, ...); "
                        "default: the first the clip offers");
        sub->add_option("--range", m_range, "Frames FIRST:LAST (inclusive; FIRST: runs to the end); default: all");
        sub->add_flag("--md5", m_md5, "Print one MD5 line per frame in the layout of ffmpeg's framemd5");
        sub->add_option(
            "--png", m_png,
            pngWritesSixteenBits()
                ? "Write frame-NNNNNN.png per frame into DIR (8-bit RGB(A), 16-bit when deeper)"
                : "Write frame-NNNNNN.png per frame into DIR (8-bit RGB(A); this build has no 16-bit PNGs)");
        sub->add_option("--raw", m_raw, "Write the hashed bytes (rows top to bottom, no padding) per frame into DIR");
        sub->add_flag("--async", m_async, "Ask through the asynchronous importer, announcing frames ahead");
        sub->add_option("--ahead", m_ahead, "With --async: frames announced ahead of the one collected (default 4)")
            ->check(CLI::NonNegativeNumber);
        sub->add_option("--threads", m_threads,
                        "Ask through imGetSourceVideo from N threads at once, each asking one of the next N frames")
            ->check(CLI::PositiveNumber)
            ->excludes("--async");
        return sub;
    }

    int run(const CommonOptions& options) override {
        const ClipArgument argument(m_file);
        const fs::path& clip = argument.path();
        Host host;
        ImporterDriver driver(host, resolveModulePath(options));
        requireInit(driver);
        const int exitCode = runOnClip(driver, clip);
        driver.shutdown();
        return exitCode;
    }

private:
    int runOnClip(ImporterDriver& driver, const fs::path& clip) {
        FrameSession session(driver, clip);
        const FrameFormat& format = chooseFrameFormat(session.video(), m_format);
        const auto [first, last] = parseFrameRange(m_range, session.video().frameCount);
        FramesOutput output;
        output.md5 = m_md5 ? &std::cout : nullptr;
        output.pngFolder = m_png;
        if (!m_png.empty() && format.deep() && !pngWritesSixteenBits())
            std::cerr << "norvik-import: this build writes 8-bit PNGs; 16-bit PNGs need the Linux build\n";
        output.rawFolder = m_raw;
        output.progress = standardErrorIsTerminal() ? &std::cerr : nullptr;
        std::vector<std::string> problems;
        FramesResult result;
        if (m_async) {
            AsyncImporter importer(session);
            AsyncFrameRequester requester(session, importer, format.pixelFormat, m_ahead);
            result = writeFrames(session, requester, format, first, last, output);
            if (const std::int32_t closed = importer.close())
                problems.push_back("closing the asynchronous importer: " + requester.describeResult(closed));
        } else if (m_threads > 1) {
            RenderThreadsRequester requester(session, format.pixelFormat, m_threads);
            result = writeFrames(session, requester, format, first, last, output);
        } else {
            SourceVideoRequester requester(session, format.pixelFormat);
            result = writeFrames(session, requester, format, first, last, output);
        }
        problems.insert(problems.begin(), result.failures.begin(), result.failures.end());
        for (std::string& problem : session.close()) problems.push_back(std::move(problem));
        for (const std::string& problem : problems) std::cerr << "norvik-import: error: " << problem << "\n";
        std::cerr << "frames: " << result.delivered << " of " << last - first + 1 << " delivered in "
                  << pixelFormatText(format.pixelFormat) << " (" << pixelFormatName(format.pixelFormat) << ")\n";
        return problems.empty() ? kExitOk : kExitModuleFailed;
    }

    std::string m_file, m_format, m_range, m_png, m_raw;
    bool m_md5 = false, m_async = false;
    int m_ahead = 4;
    int m_threads = 1;
};

}  // namespace

std::unique_ptr<Command> makeFramesCommand() { return std::make_unique<FramesCommand>(); }

}  // namespace norvikimport
