// What the fuzz targets that drive the loaded importer module share: the module
// loaded once per process into a substitute host, the file each input is written
// to or the memory file the module serves it from, and the template clip the
// inputs damage.
#pragma once

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "FuzzInput.h"
#include "fileio/FuzzMemoryFile.h"
#include "norvikhost/Host.h"
#include "norvikhost/ImporterDriver.h"
#include "norvikhost/Platform.h"

namespace modulefuzz {

struct LoadedModule {
    norvikhost::Host host;
    std::unique_ptr<norvikhost::ImporterDriver> driver;  // destroyed before the host
    std::filesystem::path input;                         // the file inputs are written to; removed at exit
    std::vector<uint8_t> clip;                           // the bytes the clip maker writes for the plan
    // The module's memory file (no file written, no system call per read): its
    // path, and the module's setter of its bytes.
    std::filesystem::path memoryInput = fileio::kFuzzMemoryFilePath;
    void (*setMemoryFile)(const uint8_t*, uint64_t) = nullptr;

    // Makes `bytes` the file at memoryInput; the caller keeps them alive and
    // unchanged while the module may read them (until the clips are closed).
    void serve(const std::vector<uint8_t>& bytes) const { setMemoryFile(bytes.data(), bytes.size()); }
};

// A name no other fuzzing process on the machine uses.
inline std::filesystem::path uniqueFile(const std::string& tag) {
    static int counter = 0;
    return std::filesystem::temp_directory_path() /
           ("norvik-" + tag + "-" + std::to_string(std::random_device{}()) + "-" +
            std::to_string(reinterpret_cast<uintptr_t>(&counter)) + "-" + std::to_string(++counter) + ".avi");
}

// The module loaded by loadModule.
inline LoadedModule& loaded() {
    static LoadedModule module;
    return module;
}

// The importer beside the program, loaded and through imInit (aborts when that
// fails), and the template clip of `plan`, once per process (LLVMFuzzerInitialize);
// `tag` names the input file.
inline LoadedModule& loadModule(const std::string& tag, const clipmaker::ClipPlan& plan) {
    LoadedModule& module = loaded();
    if (module.driver) return module;
    const std::filesystem::path clip = uniqueFile("fuzz-template");
    clipmaker::makeClip(clip.string(), plan);
    module.clip = fuzzinput::readFile(clip);
    std::filesystem::remove(clip);
    module.input = uniqueFile(tag);
    const std::filesystem::path path =
        norvikhost::currentExecutablePath().parent_path() / norvikhost::importerModuleFileName();
    module.driver = std::make_unique<norvikhost::ImporterDriver>(module.host, path);
    if (module.driver->init().result != 0) std::abort();
    // The module is loaded already: this only finds it (and drops the reference again).
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!library) std::abort();
    module.setMemoryFile =
        reinterpret_cast<void (*)(const uint8_t*, uint64_t)>(dlsym(library, "norvik_fuzz_set_memory_file"));
    dlclose(library);
    if (!module.setMemoryFile) std::abort();
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove(loaded().input, ignored);
    });
    return module;
}

}  // namespace modulefuzz
