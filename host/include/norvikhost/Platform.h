// The operating-system calls of the substitute host: loading a module, finding
// the running program, the terminal, process CPU time and thread count. Everything
// platform-specific in the host lives in Platform.cpp.
#pragma once

#include <filesystem>

namespace norvikhost {

// A loaded shared module (dlopen on Linux, LoadLibraryW on Windows). Owns the
// module and unloads it on destruction. Move-only; not thread-safe.
class DynamicLibrary {
public:
    // Loads the module; throws ModuleLoadError naming the path and the system's reason.
    explicit DynamicLibrary(const std::filesystem::path& path);
    ~DynamicLibrary();
    DynamicLibrary(DynamicLibrary&& other) noexcept;
    DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // The address of an exported symbol, or null when there is none.
    void* symbol(const char* name) const;

private:
    void* m_handle = nullptr;
};

// Path of the running program; empty when it cannot be found.
std::filesystem::path currentExecutablePath();

// True when standard error is a terminal (a person is watching), not a file or pipe.
bool standardErrorIsTerminal();

// File name of the importer module on this platform: ImporterNorvik.so or ImporterNorvik.prm.
const char* importerModuleFileName();

// CPU time the whole process (every thread) has used, in seconds.
double processCpuSeconds();

// Threads the process has now (the module's included); 0 when the system does not say.
int processThreadCount();

}  // namespace norvikhost
