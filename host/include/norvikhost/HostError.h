// The one exception type of the substitute host: a failure of the host itself or
// of its dealings with a module (cannot load it, no entry point, a bad answer).
#pragma once

#include <stdexcept>
#include <string>

namespace norvikhost {

class HostError : public std::runtime_error {
public:
    explicit HostError(const std::string& what) : std::runtime_error(what) {}
};

// A module file that cannot be loaded, or that lacks the importer's entry point.
class ModuleLoadError : public HostError {
public:
    explicit ModuleLoadError(const std::string& what) : HostError(what) {}
};

}  // namespace norvikhost
