// norvik-import check FILE [--json]: what the importer will see in a clip and why,
// set against the chunks the file really holds; the last line is the verdict.
// Exit code 0 (plays fully), 1 (damaged) or 2 (refused).
#include <iostream>

#include "ClipCheck.h"
#include "ClipReport.h"
#include "Command.h"
#include "norvikhost/Host.h"
#include "norvikhost/ImporterDriver.h"
#include "norvikhost/Platform.h"
#include "norvikhost/Text.h"

namespace norvikimport {

namespace {

class CheckCommand : public Command {
public:
    CLI::App* add(CLI::App& program) override {
        CLI::App* sub = program.add_subcommand(
            "check", "Say what the importer will see in a clip and why, against what the file holds");
        sub->add_option("FILE", m_file, "AVI file to check")->required();
        sub->add_flag("--json", m_json, "Print one JSON document instead of text");
        return sub;
    }

    int run(const CommonOptions& options) override {
        // The check asks the codec library itself (loaded at first use): name it when missing.
        norvikhost::requireLibrary(norvikhost::codecLibraryFileName());
        ClipCheck check = checkClip(m_file);
        askModule(options, check);
        std::cout << (m_json ? checkJson(check) : checkText(check));
        return checkVerdict(check).exitCode;
    }

private:
    // Whether the loaded importer opens the clip and describes its video.
    void askModule(const CommonOptions& options, ClipCheck& check) const {
        norvikhost::Host host;
        norvikhost::ImporterDriver driver(host, resolveModulePath(options));
        const ClipReport report = inspectClip(driver, m_file);
        const norvikhost::ClipAnswers& answers = report.clip;
        check.moduleOpened = clipShown(report);
        if (report.initResult != 0)
            check.moduleAnswer = "imInit answered " + describe(report.initResult);
        else if (!answers.opened)
            check.moduleAnswer = "imOpenFile8 answered " + describe(answers.openResult);
        else if (answers.streams.empty() || !check.moduleOpened)
            check.moduleAnswer = "imGetInfo8 answered " +
                                 describe(answers.streams.empty() ? 0 : answers.streams.front().result);
        else
            check.moduleAnswer = "opens the clip";
    }

    static std::string describe(std::int32_t result) {
        return std::to_string(result) + " (" + norvikhost::resultName(result) + ")";
    }

    std::string m_file;
    bool m_json = false;
};

}  // namespace

std::unique_ptr<Command> makeCheckCommand() { return std::make_unique<CheckCommand>(); }

}  // namespace norvikimport
