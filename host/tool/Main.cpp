// norvik-import: runs the ImporterNorvik module in the substitute host and
// shows what a host would learn from it.
#include <iostream>
#include <utility>
#include <vector>

#include "Command.h"
#include "ProjectVersion.h"
#include "norvikhost/HostError.h"

int main(int argc, char** argv) {
    using namespace norvikimport;
    CLI::App program("Runs the Norvik AVI importer module in a substitute host.", "norvik-import");
    program.require_subcommand(1);
    program.fallthrough();
    program.set_version_flag("--version", std::string("norvik-import (") + projectversion::kProductName + ") " +
                                              projectversion::kVersion);

    CommonOptions options;
    std::string modulePath;
    program.add_option("--module", modulePath, "Importer module to load (default: the one beside this program, else the installed one)");

    std::vector<std::pair<CLI::App*, std::unique_ptr<Command>>> commands;
    for (auto make : {makeFormatsCommand, makeInfoCommand, makeAudioCommand, makeFramesCommand, makeBenchCommand,
                      makePlayCommand, makeCheckCommand}) {
        std::unique_ptr<Command> command = make();
        CLI::App* sub = command->add(program);
        commands.emplace_back(sub, std::move(command));
    }

    try {
        program.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return program.exit(e);
    }
    options.modulePath = modulePath;

    for (auto& [sub, command] : commands) {
        if (!sub->parsed()) continue;
        try {
            return command->run(options);
        } catch (const norvikhost::ModuleLoadError& e) {
            std::cerr << "norvik-import: error: " << e.what() << "\n";
            return kExitCannotLoad;
        } catch (const std::exception& e) {
            std::cerr << "norvik-import: error: " << e.what() << "\n";
            return kExitModuleFailed;
        }
    }
    return kExitOk;
}
