#include "Command.h"

#include <stdexcept>
#include <string>

#include "norvikhost/ImporterDriver.h"
#include "norvikhost/Platform.h"

namespace norvikimport {

std::filesystem::path resolveModulePath(const CommonOptions& options) {
    if (!options.modulePath.empty()) return options.modulePath;
    const std::filesystem::path program = norvikhost::currentExecutablePath();
    const std::filesystem::path folder = program.empty() ? std::filesystem::current_path() : program.parent_path();
    return folder / norvikhost::importerModuleFileName();
}

void requireInit(norvikhost::ImporterDriver& driver) {
    if (const std::int32_t init = driver.init().result)
        throw std::runtime_error("imInit answered " + std::to_string(init));
}

}  // namespace norvikimport
