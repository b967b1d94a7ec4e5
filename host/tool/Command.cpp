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
    const std::filesystem::path beside = folder / norvikhost::importerModuleFileName();
    std::error_code ec;
    if (std::filesystem::exists(beside, ec)) return beside;
    // Installed, the programs live apart from the module, which sits in the host's plug-ins folder.
    const std::filesystem::path installed = norvikhost::installedModulePath();
    return !installed.empty() && std::filesystem::exists(installed, ec) ? installed : beside;
}

void requireInit(norvikhost::ImporterDriver& driver) {
    if (const std::int32_t init = driver.init().result)
        throw std::runtime_error("imInit answered " + std::to_string(init));
}

}  // namespace norvikimport
