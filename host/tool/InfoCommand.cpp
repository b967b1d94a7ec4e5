// norvik-import info [FILE] [--json]: what the host learns when it opens a clip.
#include <iostream>

#include "ClipReport.h"
#include "Command.h"
#include "SampleClip.h"
#include "norvikhost/Host.h"
#include "norvikhost/ImporterDriver.h"

namespace norvikimport {

namespace {

namespace fs = std::filesystem;

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
        const ClipArgument clip(m_file);
        return show(options, clip.path());
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
