// norvik-import formats: what the host learns from a module at start-up.
#include <iostream>
#include <ostream>

#include "Command.h"
#include "norvikhost/Host.h"
#include "norvikhost/ImporterDriver.h"
#include "norvikhost/Text.h"

namespace norvikimport {

namespace {

using namespace norvikhost;

std::string resultText(std::int32_t result) { return std::to_string(result) + " (" + resultName(result) + ")"; }

std::string codeText(std::uint32_t code) { return "'" + fourccText(code) + "' (" + hexText(code) + ")"; }

void printFormat(std::ostream& out, const FormatAnswer& format) {
    out << "imGetIndFormat " << format.index << ": " << resultText(format.result) << "\n";
    if (format.result != prsdk::imNoErr) return;
    out << "  file type: " << codeText(format.fileType) << "\n";
    out << "  FormatName: " << format.name << "\n";
    out << "  FormatShortName: " << format.shortName << "\n";
    out << "  extensions:";
    for (const std::string& extension : format.extensions) out << " " << extension;
    out << "\n";
}

void printSubTypes(std::ostream& out, const SubTypeNamesAnswer& answer) {
    out << "imGetSubTypeNames " << codeText(answer.fileType) << ": " << resultText(answer.result) << "\n";
    for (const SubType& subType : answer.subTypes) out << "  " << codeText(subType.code) << " " << subType.name << "\n";
    if (!answer.problem.empty()) out << "  problem: " << answer.problem << "\n";
}

void printAnswers(std::ostream& out, const ImporterDriver& driver, const ModuleAnswers& answers) {
    out << "module: " << driver.modulePath().string() << "\n";
    out << "imInit: " << resultText(answers.init.result) << "\n";
    out << "  priority: " << answers.init.info.priority << "\n";
    out << "  avoidAudioConform: " << answers.init.info.avoidAudioConform << "\n";
    for (const FormatAnswer& format : answers.formats) printFormat(out, format);
    out << "imGetSupports8: " << resultText(answers.supports8) << "\n";
    for (const SubTypeNamesAnswer& subTypes : answers.subTypeNames) printSubTypes(out, subTypes);
    out << "imShutdown: " << resultText(answers.shutdown) << "\n";
}

class FormatsCommand : public Command {
public:
    CLI::App* add(CLI::App& program) override {
        return program.add_subcommand("formats", "Load the importer and list the file formats it declares");
    }

    int run(const CommonOptions& options) override {
        Host host;
        ImporterDriver driver(host, resolveModulePath(options));
        const ModuleAnswers answers = driver.describeModule();
        printAnswers(std::cout, driver, answers);
        return answers.init.result == prsdk::imNoErr ? kExitOk : kExitModuleFailed;
    }
};

}  // namespace

std::unique_ptr<Command> makeFormatsCommand() { return std::make_unique<FormatsCommand>(); }

}  // namespace norvikimport
