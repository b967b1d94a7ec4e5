#include "TestPlatform.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "norvikhost/Platform.h"

#ifdef _WIN32
#include <windows.h>

#include <shlobj.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace hosttest {

namespace fs = std::filesystem;

fs::path binDir() {
    if (const char* dir = std::getenv("NORVIK_BIN_DIR"); dir && fs::is_directory(dir)) return dir;
    return norvikhost::currentExecutablePath().parent_path();
}

namespace {

std::string readWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

fs::path uniqueTempPath(const std::string& stem) {
    static std::mt19937_64 random(std::random_device{}() ^
                                  std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()));
    const auto stamp = std::to_string(random());
    return fs::temp_directory_path() / (stem + "-" + stamp);
}

}  // namespace

TempFolder::TempFolder() : m_path(uniqueTempPath("norvik-test")) { fs::create_directories(m_path); }

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

#ifdef _WIN32

fs::path programPath(const std::string& baseName) { return binDir() / (baseName + ".exe"); }

namespace {

std::wstring quoted(const std::wstring& arg) {
    std::wstring out = L"\"";
    for (wchar_t c : arg) {
        if (c == L'"') out += L'\\';
        out += c;
    }
    return out + L"\"";
}

}  // namespace

ChildResult runChild(const fs::path& program, const std::vector<std::string>& args, const Environment& extra) {
    const fs::path outputPath = uniqueTempPath("norvik-child") += ".txt";
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE output = CreateFileW(outputPath.wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create the child's output file");
    std::wstring commandLine = quoted(program.wstring());
    for (const std::string& arg : args) commandLine += L" " + quoted(fs::path(arg).wstring());
    for (const auto& [name, value] : extra)
        SetEnvironmentVariableW(fs::path(name).wstring().c_str(), fs::path(value).wstring().c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(program.wstring().c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(output);
    if (!started) throw std::runtime_error("cannot start " + program.string());
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ChildResult result{int(code), readWholeFile(outputPath)};
    fs::remove(outputPath);
    // Programs write text mode: line ends become LF as on POSIX.
    std::erase(result.output, '\r');
    return result;
}

namespace {
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

fs::path programPath(const std::string& baseName) { return binDir() / baseName; }

ChildResult runChild(const fs::path& program, const std::vector<std::string>& args, const Environment& extra) {
    const fs::path outputPath = uniqueTempPath("norvik-child") += ".txt";
    std::vector<std::string> argStore{program.string()};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argStore) argv.push_back(arg.data());
    argv.push_back(nullptr);

    std::vector<std::string> envStore;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const auto& [name, value] : extra) replaced |= entry.rfind(name + "=", 0) == 0;
        if (!replaced) envStore.push_back(entry);
    }
    for (const auto& [name, value] : extra) envStore.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& entry : envStore) envp.push_back(entry.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) throw std::runtime_error("cannot start " + program.string());
    int status = 0;
    waitpid(pid, &status, 0);
    ChildResult result{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), readWholeFile(outputPath)};
    fs::remove(outputPath);
    return result;
}

ProfileWithLogSwitch::ProfileWithLogSwitch(bool logOn) : m_profile(uniqueTempPath("norvik-home")), m_temporary(true) {
    fs::create_directories(m_profile);
    if (logOn) std::ofstream(m_profile / ".norvik-registry") << "Software\\Norvik\\EnableAdobeLog=dword:00000001\n";
}

ProfileWithLogSwitch::~ProfileWithLogSwitch() {
    std::error_code ignored;
    if (m_temporary) fs::remove_all(m_profile, ignored);
}

Environment ProfileWithLogSwitch::childEnvironment() const { return {{"HOME", m_profile.string()}}; }

const ProfileWithLogSwitch& processProfile() {
    static const ProfileWithLogSwitch profile(false);
    static const bool madeHome = setenv("HOME", profile.profile().c_str(), 1) == 0;
    (void)madeHome;
    return profile;
}

#endif

}  // namespace hosttest
