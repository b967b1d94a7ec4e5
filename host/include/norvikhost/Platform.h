// The operating-system calls of the substitute host: loading a module, finding
// the running program, the terminal, process CPU time and thread count. Everything
// platform-specific in the host lives in Platform.cpp.
#pragma once

#include <filesystem>
#include <string>

namespace norvikhost {

// A loaded shared module (dlopen on Linux, LoadLibraryW on Windows). Owns the
// module and unloads it on destruction. Move-only; not thread-safe.
class DynamicLibrary {
public:
    // Loads the module; throws ModuleLoadError naming the path and the reason in
    // words: no such file, the library it needs that cannot be found (by name), or
    // the system's own text.
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

// Throws ModuleLoadError naming the library when the system cannot find a shared
// library of this file name where it looks for a module's imports (Windows: beside
// the program, in the system folders, on PATH).
void requireLibrary(const std::string& fileName);

// True when the system finds and loads the shared library of this file name.
bool libraryCanBeFound(const std::string& fileName);

// File name of the codec library on this platform: libnorvik_common.so or norvik_common64.dll.
const char* codecLibraryFileName();

// The importer module the installer recorded (Windows: HKLM\SOFTWARE\ImporterNorvik,
// value ModulePath); empty when there is none, and always on Linux.
std::filesystem::path installedModulePath();

// True when standard error is a terminal (a person is watching), not a file or pipe.
bool standardErrorIsTerminal();

// File name of the importer module on this platform: ImporterNorvik.so or ImporterNorvik.prm.
const char* importerModuleFileName();

// CPU time the whole process (every thread) has used, in seconds.
double processCpuSeconds();

// Threads the process has now (the module's included); 0 when the system does not say.
int processThreadCount();

}  // namespace norvikhost
