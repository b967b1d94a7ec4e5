// The subcommands of norvik-import. Each one adds its CLI11 subcommand with its
// own options and runs when that subcommand was given. Adding a subcommand is
// one file with a make...Command() factory and one line in Main.cpp.
#pragma once

#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <string>

namespace norvikhost {
class ImporterDriver;
}

namespace norvikimport {

// Options every subcommand shares.
struct CommonOptions {
    std::filesystem::path modulePath;  // empty: the importer beside the program, else the installed one
};

// Program exit codes.
constexpr int kExitOk = 0;
constexpr int kExitModuleFailed = 1;  // the module loaded but answered with an error
constexpr int kExitCannotLoad = 2;    // no module, or no xImportEntry
constexpr int kExitUnavailable = 3;   // an option this build cannot serve

class Command {
public:
    virtual ~Command() = default;
    // Adds the subcommand (with its options bound to members) to the program.
    virtual CLI::App* add(CLI::App& program) = 0;
    // Runs the subcommand; returns the exit code. May throw HostError.
    virtual int run(const CommonOptions& options) = 0;
};

// The module to load: the --module path, else the importer beside this program,
// else the one the installer recorded; the path beside the program when neither is there.
std::filesystem::path resolveModulePath(const CommonOptions& options);

// imInit on the loaded module; throws std::runtime_error "imInit answered N" when
// it does not answer 0.
void requireInit(norvikhost::ImporterDriver& driver);

std::unique_ptr<Command> makeFormatsCommand();
std::unique_ptr<Command> makeInfoCommand();
std::unique_ptr<Command> makeFramesCommand();
std::unique_ptr<Command> makeBenchCommand();
std::unique_ptr<Command> makeAudioCommand();
std::unique_ptr<Command> makePlayCommand();
std::unique_ptr<Command> makeCheckCommand();

}  // namespace norvikimport
