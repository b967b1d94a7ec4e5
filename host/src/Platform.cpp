// Module loading, program path, terminal, CPU time and threads: dlopen,
// /proc/self/exe, isatty, clock_gettime and /proc/self/status on Linux;
// LoadLibraryW, GetModuleFileNameW, _isatty, GetProcessTimes and a Toolhelp thread
// snapshot on Windows.
#include "norvikhost/Platform.h"

#include <fstream>
#include <string>
#include <utility>

#include "norvikhost/HostError.h"
#include "norvikhost/ModuleImports.h"

#ifdef _WIN32
#include <windows.h>

#include <io.h>
#include <tlhelp32.h>
#else
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>
#endif

namespace norvikhost {

namespace {
bool isFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

[[noreturn]] void throwLoadError(const std::filesystem::path& path, const std::string& reason) {
    throw ModuleLoadError("cannot load module '" + path.string() + "': " + reason);
}
}  // namespace

#ifdef _WIN32

namespace {
constexpr const char* kSearchPlaces = "beside this program, in the system folder or on PATH";

std::string systemErrorText(DWORD code) {
    char* text = nullptr;
    const DWORD n =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = n ? std::string(text, n) : "error " + std::to_string(code);
    if (text) LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r')) result.pop_back();
    return result;
}

// Windows answers "module not found" both for a missing module and for a missing
// library the module imports; the import table tells which library it is.
std::string loadFailureReason(const std::filesystem::path& path, DWORD code) {
    if (!isFile(path)) return "no such file";
    if (code == ERROR_MOD_NOT_FOUND) {
        for (const std::string& library : importedLibrariesOfFile(path))
            if (!libraryCanBeFound(library))
                return "it needs the library " + library + ", which is not " + kSearchPlaces;
    }
    return systemErrorText(code);
}
}  // namespace

DynamicLibrary::DynamicLibrary(const std::filesystem::path& path) {
    m_handle = LoadLibraryW(path.wstring().c_str());
    if (!m_handle) throwLoadError(path, loadFailureReason(path, GetLastError()));
}

bool libraryCanBeFound(const std::string& fileName) {
    HMODULE library = LoadLibraryW(std::filesystem::path(fileName).wstring().c_str());
    if (!library) return false;
    FreeLibrary(library);
    return true;
}

void requireLibrary(const std::string& fileName) {
    if (!libraryCanBeFound(fileName))
        throw ModuleLoadError("the library " + fileName + " cannot be found: it is not " + kSearchPlaces);
}

const char* codecLibraryFileName() { return "norvik_common64.dll"; }

std::filesystem::path installedModulePath() {
    std::wstring buffer(32768, L'\0');
    DWORD bytes = DWORD(buffer.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\ImporterNorvik", L"ModulePath", RRF_RT_REG_SZ, nullptr,
                     buffer.data(), &bytes) != ERROR_SUCCESS)
        return {};
    buffer.resize(bytes / sizeof(wchar_t));
    while (!buffer.empty() && buffer.back() == L'\0') buffer.pop_back();
    return std::filesystem::path(buffer);
}

DynamicLibrary::~DynamicLibrary() {
    if (m_handle) FreeLibrary(static_cast<HMODULE>(m_handle));
}

void* DynamicLibrary::symbol(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(m_handle), name));
}

std::filesystem::path currentExecutablePath() {
    std::wstring buffer(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
    if (n == 0 || n >= buffer.size()) return {};
    buffer.resize(n);
    return std::filesystem::path(buffer);
}

const char* importerModuleFileName() { return "ImporterNorvik.prm"; }

bool standardErrorIsTerminal() { return _isatty(2) != 0; }

double processCpuSeconds() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    const auto ticks = [](const FILETIME& t) {
        return double(t.dwLowDateTime) + double(t.dwHighDateTime) * 4294967296.0;
    };
    return (ticks(kernel) + ticks(user)) * 1e-7;  // 100 ns units
}

int processThreadCount() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    const DWORD self = GetCurrentProcessId();
    int count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == self) ++count;
    CloseHandle(snapshot);
    return count;
}

#else

DynamicLibrary::DynamicLibrary(const std::filesystem::path& path) {
    m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        // dlerror() names a missing library the module needs.
        const char* why = dlerror();
        throwLoadError(path, !isFile(path) ? "no such file" : why ? why : "unknown reason");
    }
}

bool libraryCanBeFound(const std::string& fileName) {
    void* library = dlopen(fileName.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (!library) return false;
    dlclose(library);
    return true;
}

void requireLibrary(const std::string& fileName) {
    if (!libraryCanBeFound(fileName)) {
        const char* why = dlerror();
        throw ModuleLoadError("the library " + fileName + " cannot be loaded: " + (why ? why : "unknown reason"));
    }
}

const char* codecLibraryFileName() { return "libnorvik_common.so"; }

std::filesystem::path installedModulePath() { return {}; }

DynamicLibrary::~DynamicLibrary() {
    if (m_handle) dlclose(m_handle);
}

void* DynamicLibrary::symbol(const char* name) const { return dlsym(m_handle, name); }

std::filesystem::path currentExecutablePath() {
    std::error_code ec;
    auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : path;
}

const char* importerModuleFileName() { return "ImporterNorvik.so"; }

bool standardErrorIsTerminal() { return isatty(2) != 0; }

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

int processThreadCount() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("Threads:", 0) == 0) return std::stoi(line.substr(8));
    return 0;
}

#endif

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
    if (this != &other) {
        DynamicLibrary old(std::move(*this));
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

}  // namespace norvikhost
