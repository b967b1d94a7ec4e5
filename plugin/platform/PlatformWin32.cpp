// Win32 implementation of the platform contract.
#include <windows.h>

#include <direct.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "platform/Platform.h"

namespace platform {

namespace {
const wchar_t* asWide(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
}  // namespace

bool readUserRegistryDword(const char* keyPath, const char* valueName, uint32_t& value) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD data = 0;
    DWORD size = sizeof(data);
    const LONG r = RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &size);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS) return false;
    value = data;
    return true;
}

std::u16string profileFolder() {
    wchar_t buffer[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, 0, buffer))) return {};
    return std::u16string(reinterpret_cast<const char16_t*>(buffer));
}

std::u16string appendPath(std::u16string_view folder, std::u16string_view component) {
    std::u16string out(folder);
    if (!out.empty() && out.back() != u'\\' && out.back() != u'/') out += u'\\';
    out += component;
    return out;
}

bool makeFolder(const std::u16string& path) { return _wmkdir(asWide(path)) == 0; }

std::FILE* openFile(const std::u16string& path, const char* mode) {
    std::wstring wmode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(asWide(path), wmode.c_str());
}

std::string hostExecutablePath() {
    char buffer[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return std::string(buffer, n);
}

uint64_t currentThreadId() { return GetCurrentThreadId(); }

std::tm localTime(std::time_t t) {
    std::tm out{};
    localtime_s(&out, &t);
    return out;
}

void openConsole() {
    AllocConsole();
    SetConsoleScreenBufferSize(GetStdHandle(STD_OUTPUT_HANDLE), COORD{120, 500});
}

void writeConsole(const char* text) {
    DWORD written = 0;
    WriteConsoleA(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(lstrlenA(text)), &written, nullptr);
}

}  // namespace platform
