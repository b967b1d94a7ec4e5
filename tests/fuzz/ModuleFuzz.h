// What the fuzz targets that drive the loaded importer module share: the module
// loaded once per process into a substitute host, the file each input is written
// to, template clips, and the byte patches an input makes to one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ClipMaker.h"
#include "norvikhost/Host.h"
#include "norvikhost/ImporterDriver.h"

namespace modulefuzz {

struct LoadedModule {
    norvikhost::Host host;
    std::unique_ptr<norvikhost::ImporterDriver> driver;  // destroyed before the host
    std::filesystem::path input;                         // the file inputs are written to; removed at exit
};

// The importer beside the program, loaded and through imInit (aborts when that
// fails), once per process; `tag` names its input file.
LoadedModule& loadModule(const std::string& tag);

// The bytes of the clip the clip maker writes for `plan`.
std::vector<uint8_t> clipBytes(const clipmaker::ClipSpec& plan);

// Replaces `path` with `size` bytes of `data`.
void writeFile(const std::filesystem::path& path, const uint8_t* data, size_t size);

// `clip` with the input's patches: records of (16-bit position, value); an input
// one byte longer than whole records also cuts the clip at 16 times that byte.
std::vector<uint8_t> patched(std::vector<uint8_t> clip, const uint8_t* data, size_t size);

}  // namespace modulefuzz
