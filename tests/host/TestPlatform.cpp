#include "TestPlatform.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <regex>
#include <stdexcept>

#include "norvikhost/Platform.h"

#ifdef _WIN32
#include <windows.h>

#include <shlobj.h>
#else
#include <sys/wait.h>
#endif

namespace hosttest {

namespace fs = std::filesystem;

fs::path binDir() { return norvikhost::currentExecutablePath().parent_path(); }

fs::path programPath(const std::string& baseName) {
    return binDir() / (baseName + norvikhost::currentExecutablePath().extension().string());
}

namespace {

fs::path uniqueTempPath(const std::string& stem) {
    return fs::temp_directory_path() / (stem + "-" + std::to_string(std::random_device{}()));
}

}  // namespace

TempFolder::TempFolder() : m_path(uniqueTempPath("norvik-test")) { fs::create_directories(m_path); }

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

std::string utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void expectGolden(const fs::path& golden, const std::string& text) {
    const char* update = std::getenv("NORVIK_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        std::ofstream(golden, std::ios::binary) << text;
        return;
    }
    ASSERT_TRUE(fs::exists(golden)) << golden << " is missing; run with NORVIK_UPDATE_GOLDEN=1\n" << text;
    EXPECT_EQ(text, readFile(golden)) << "for " << golden;
}

std::vector<std::string> logMessages(const fs::path& log) {
    static const std::regex prefix(R"(^\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\] \[\d+\] )");
    std::ifstream in(log, std::ios::binary);
    std::vector<std::string> messages;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::smatch match;
        const bool prefixed = std::regex_search(line, match, prefix);
        EXPECT_TRUE(prefixed) << line;
        messages.push_back(prefixed ? match.suffix().str() : line);
    }
    return messages;
}

#ifdef _WIN32

namespace {

// cmd /c gets the whole line in one more pair of quotes, which it removes (the
// arguments of the tests hold no quotes).
std::string shellCommand(const fs::path& program, const std::vector<std::string>& args, const Environment& extra) {
    for (const auto& [name, value] : extra)
        SetEnvironmentVariableW(fs::path(name).wstring().c_str(), fs::path(value).wstring().c_str());
    std::string command = "\"\"" + program.string() + "\"";
    for (const std::string& arg : args) command += " \"" + arg + "\"";
    return command + " 2>&1\"";
}

// Text mode: the child's line ends become LF as on POSIX.
std::FILE* openPipe(const std::string& command) { return _wpopen(fs::path(command).wstring().c_str(), L"rt"); }

int closePipe(std::FILE* pipe) { return _pclose(pipe); }

constexpr const wchar_t* kKey = L"Software\\Norvik";
constexpr const wchar_t* kValue = L"EnableAdobeLog";

void removeLogSwitch() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, kValue);
        RegCloseKey(key);
    }
}

}  // namespace

ProfileWithLogSwitch::ProfileWithLogSwitch(bool logOn) {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, 0, folder)))
        throw std::runtime_error("no profile folder");
    m_profile = folder;
    removeLogSwitch();
    if (!logOn) return;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create the registry key");
    const DWORD one = 1;
    RegSetValueExW(key, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
    RegCloseKey(key);
}

ProfileWithLogSwitch::~ProfileWithLogSwitch() { removeLogSwitch(); }

Environment ProfileWithLogSwitch::childEnvironment() const { return {}; }

const ProfileWithLogSwitch& processProfile() {
    static const ProfileWithLogSwitch profile(false);
    return profile;
}

#else

namespace {

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string shellCommand(const fs::path& program, const std::vector<std::string>& args, const Environment& extra) {
    std::string command;
    // Appended piece by piece: g++ 12 at -O3 takes `" " + quoted(arg)` for an
    // overlapping copy (a false -Wrestrict).
    for (const auto& [name, value] : extra) command.append(name).append("=").append(quoted(value)).append(" ");
    command.append(quoted(program.string()));
    for (const std::string& arg : args) command.append(" ").append(quoted(arg));
    return command.append(" 2>&1");
}

std::FILE* openPipe(const std::string& command) { return popen(command.c_str(), "r"); }

int closePipe(std::FILE* pipe) {
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

ProfileWithLogSwitch::ProfileWithLogSwitch(bool logOn) : m_profile(uniqueTempPath("norvik-home")) {
    fs::create_directories(m_profile);
    if (logOn) std::ofstream(m_profile / ".norvik-registry") << "Software\\Norvik\\EnableAdobeLog=dword:00000001\n";
}

ProfileWithLogSwitch::~ProfileWithLogSwitch() {
    std::error_code ignored;
    fs::remove_all(m_profile, ignored);
}

Environment ProfileWithLogSwitch::childEnvironment() const { return {{"HOME", m_profile.string()}}; }

const ProfileWithLogSwitch& processProfile() {
    static const ProfileWithLogSwitch profile(false);
    static const bool madeHome = setenv("HOME", profile.profile().c_str(), 1) == 0;
    (void)madeHome;
    return profile;
}

#endif

ChildResult runChild(const fs::path& program, const std::vector<std::string>& args, const Environment& extra) {
    std::FILE* pipe = openPipe(shellCommand(program, args, extra));
    if (!pipe) throw std::runtime_error("cannot start a shell for " + program.string());
    ChildResult result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.output.append(buffer, n);
    result.exitCode = closePipe(pipe);
    return result;
}

}  // namespace hosttest
