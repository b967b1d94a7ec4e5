// POSIX stand-in for the Win32 calls: registry file, $HOME, /proc/self/exe, gettid.
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/Platform.h"

namespace platform {

namespace {

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    return home ? std::string(home) : std::string();
}

// Parses "dword:XXXXXXXX" (1 to 8 hexadecimal digits); false when malformed.
bool parseDword(std::string_view text, uint32_t& value) {
    constexpr std::string_view prefix = "dword:";
    if (text.substr(0, prefix.size()) != prefix) return false;
    text.remove_prefix(prefix.size());
    while (!text.empty() && (text.back() == '\r' || text.back() == ' ')) text.remove_suffix(1);
    if (text.empty() || text.size() > 8) return false;
    uint32_t v = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        v = (v << 4) | static_cast<uint32_t>(d);
    }
    value = v;
    return true;
}

}  // namespace

bool readUserRegistryDword(const char* keyPath, const char* valueName, uint32_t& value) {
    const std::string home = homeFolder();
    if (home.empty()) return false;
    std::ifstream in(home + "/.norvik-registry");
    if (!in) return false;
    const std::string wanted = std::string(keyPath) + "\\" + valueName + "=";
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, wanted.size(), wanted) == 0)
            return parseDword(std::string_view(line).substr(wanted.size()), value);
    }
    return false;
}

std::u16string profileFolder() { return toWide(homeFolder()); }

std::u16string appendPath(std::u16string_view folder, std::u16string_view component) {
    std::u16string out(folder);
    if (!out.empty() && out.back() != u'/') out += u'/';
    out += component;
    return out;
}

bool makeFolder(const std::u16string& path) { return ::mkdir(toUtf8(path).c_str(), 0777) == 0; }

std::FILE* openFile(const std::u16string& path, const char* mode) { return std::fopen(toUtf8(path).c_str(), mode); }

std::string hostExecutablePath() {
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof(buffer));
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

uint64_t currentThreadId() { return static_cast<uint64_t>(::syscall(SYS_gettid)); }

std::tm localTime(std::time_t t) {
    std::tm out{};
    localtime_r(&t, &out);
    return out;
}

// There is no console window to allocate here; the mirror goes to standard output.
void openConsole() {}

void writeConsole(const char* text) { std::fputs(text, stdout); }

}  // namespace platform
