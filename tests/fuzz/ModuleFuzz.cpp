#include "ModuleFuzz.h"

#include <cstdlib>
#include <system_error>

#include "norvikhost/Platform.h"

namespace fs = std::filesystem;

namespace modulefuzz {

namespace {

// A name no other fuzzing process on the machine uses.
fs::path uniqueFile(const std::string& tag) {
    static int counter = 0;
    return fs::temp_directory_path() /
           ("norvik-" + tag + "-" + std::to_string(std::rand()) + "-" +
            std::to_string(reinterpret_cast<uintptr_t>(&counter)) + "-" + std::to_string(++counter) + ".avi");
}

}  // namespace

LoadedModule& loaded() {
    static LoadedModule module;
    return module;
}

LoadedModule& loadModule(const std::string& tag, const clipmaker::ClipSpec& plan) {
    LoadedModule& module = loaded();
    if (module.driver) return module;
    const fs::path clip = uniqueFile("fuzz-template");
    clipmaker::makeClip(clip.string(), plan);
    module.clip = fuzzinput::readFile(clip);
    fs::remove(clip);
    module.input = uniqueFile(tag);
    const fs::path path = norvikhost::currentExecutablePath().parent_path() / norvikhost::importerModuleFileName();
    module.driver = std::make_unique<norvikhost::ImporterDriver>(module.host, path);
    if (module.driver->init().result != 0) std::abort();
    std::atexit([] {
        std::error_code ignored;
        fs::remove(loaded().input, ignored);
    });
    return module;
}

}  // namespace modulefuzz
