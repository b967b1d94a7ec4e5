// The libraries a Windows module (PE file) imports at load time, read from its
// import table. The host uses it to name the library that keeps a module from
// loading, which Windows itself reports only as "module not found".
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace norvikhost {

// File names of the libraries in the import table of a PE image held in `image`
// (the file's bytes), in table order. Empty when the bytes are not a PE image or
// its import table lies outside them: the caller then has nothing to name.
std::vector<std::string> importedLibraries(std::string_view image);

// The same for a file; empty when it cannot be read.
std::vector<std::string> importedLibrariesOfFile(const std::filesystem::path& path);

}  // namespace norvikhost
