#include "Command.h"

#include "norvikhost/Platform.h"

namespace norvikimport {

std::filesystem::path resolveModulePath(const CommonOptions& options) {
    if (!options.modulePath.empty()) return options.modulePath;
    const std::filesystem::path program = norvikhost::currentExecutablePath();
    const std::filesystem::path folder = program.empty() ? std::filesystem::current_path() : program.parent_path();
    return folder / norvikhost::importerModuleFileName();
}

}  // namespace norvikimport
