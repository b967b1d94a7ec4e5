// norvik-import info [FILE] [--json]: what the host learns when it opens a clip.
#include <iostream>
#include <random>

#include "ClipMaker.h"
#include "ClipReport.h"
#include "Command.h"
#include "norvikhost/Host.h"
#include "norvikhost/ImporterDriver.h"

namespace norvikimport {

namespace {

namespace fs = std::filesystem;

// The clip shown when no file is given: 8-bit 4:2:2 video at 30000/1001 with one
// stereo 16-bit audio stream, two seconds long; small enough to write in moments.
clipmaker::ClipSpec sampleClipSpec() {
    clipmaker::ClipSpec plan;
    plan.type = 104;
    plan.width = 640;
    plan.height = 360;
    plan.rateNumerator = 30000;
    plan.rateDenominator = 1001;
    plan.frames = 60;
    plan.audio.push_back(clipmaker::AudioSpec{});
    return plan;
}

// A fresh folder under the system's temporary folder, removed on destruction.
class TemporaryFolder {
public:
    TemporaryFolder() {
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            fs::path candidate = fs::temp_directory_path() / ("norvik-import-" + std::to_string(random()));
            if (fs::create_directory(candidate)) {
                m_path = candidate;
                return;
            }
        }
        throw std::runtime_error("cannot make a temporary folder in " + fs::temp_directory_path().string());
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

class InfoCommand : public Command {
public:
    CLI::App* add(CLI::App& program) override {
        CLI::App* sub = program.add_subcommand(
            "info", "Open a clip as the host does and show what it learns (no FILE: a sample clip)");
        sub->add_option("FILE", m_file, "Norvik AVI clip to open");
        sub->add_flag("--json", m_json, "Print one JSON document instead of text");
        return sub;
    }

    int run(const CommonOptions& options) override {
        if (!m_file.empty()) return show(options, fs::path(m_file));
        TemporaryFolder folder;
        const fs::path clip = folder.path() / "sample.avi";
        const std::u8string utf8 = clip.u8string();
        clipmaker::makeClip(std::string(utf8.begin(), utf8.end()), sampleClipSpec());
        return show(options, clip);
    }

private:
    int show(const CommonOptions& options, const fs::path& clip) const {
        norvikhost::Host host;
        norvikhost::ImporterDriver driver(host, resolveModulePath(options));
        const ClipReport report = inspectClip(driver, clip);
        std::cout << (m_json ? clipJson(report) : clipText(report));
        return clipShown(report) ? kExitOk : kExitModuleFailed;
    }

    std::string m_file;
    bool m_json = false;
};

}  // namespace

std::unique_ptr<Command> makeInfoCommand() { return std::make_unique<InfoCommand>(); }

}  // namespace norvikimport
