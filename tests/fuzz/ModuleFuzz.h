// What the fuzz targets that drive the loaded importer module share: the module
// loaded once per process into a substitute host, the file each input is written
// to, and the template clip the inputs damage.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "norvikhost/Host.h"
#include "norvikhost/ImporterDriver.h"

namespace modulefuzz {

struct LoadedModule {
    norvikhost::Host host;
    std::unique_ptr<norvikhost::ImporterDriver> driver;  // destroyed before the host
    std::filesystem::path input;                         // the file inputs are written to; removed at exit
    std::vector<uint8_t> clip;                           // the bytes the clip maker writes for the plan
};

// The importer beside the program, loaded and through imInit (aborts when that
// fails), and the template clip of `plan`, once per process (LLVMFuzzerInitialize);
// `tag` names the input file.
LoadedModule& loadModule(const std::string& tag, const clipmaker::ClipSpec& plan);

// The module loaded by loadModule.
LoadedModule& loaded();

}  // namespace modulefuzz
