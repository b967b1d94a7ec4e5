#include "ModuleFuzz.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
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

LoadedModule& loadModule(const std::string& tag) {
    static LoadedModule module;
    if (module.driver) return module;
    module.input = uniqueFile(tag);
    const fs::path path = norvikhost::currentExecutablePath().parent_path() / norvikhost::importerModuleFileName();
    module.driver = std::make_unique<norvikhost::ImporterDriver>(module.host, path);
    if (module.driver->init().result != 0) std::abort();
    std::atexit([] {
        std::error_code ignored;
        fs::remove(module.input, ignored);
    });
    return module;
}

std::vector<uint8_t> clipBytes(const clipmaker::ClipSpec& plan) {
    const fs::path path = uniqueFile("fuzz-template");
    clipmaker::makeClip(path.string(), plan);
    std::vector<uint8_t> bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    fs::remove(path);
    return bytes;
}

void writeFile(const fs::path& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
}

std::vector<uint8_t> patched(std::vector<uint8_t> clip, const uint8_t* data, size_t size) {
    for (size_t i = 0; i + 3 <= size; i += 3)
        clip[(size_t(data[i]) | size_t(data[i + 1]) << 8) % clip.size()] = data[i + 2];
    if (size % 3 == 1) clip.resize((size_t(data[size - 1]) * 16) % clip.size());
    return clip;
}

}  // namespace modulefuzz
