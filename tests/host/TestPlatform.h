// What the tests need from the operating system: temporary folders, files and
// golden texts, programs run as child processes, and a user profile with the
// importer's log switch set or not. Everything platform-specific of the tests
// lives in TestPlatform.cpp.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace hosttest {

// The folder with the programs and modules of the build: the running test
// program's.
std::filesystem::path binDir();

// A program of the build by its base name ("norvik-import" gets ".exe" on Windows).
std::filesystem::path programPath(const std::string& baseName);

// A fresh folder under the system's temporary folder, removed with its contents.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// The UTF-8 text of a path, as the clip tools and the importer's file layer take it.
std::string utf8(const std::filesystem::path& path);

// A whole file's bytes ("" when it cannot be read).
std::string readFile(const std::filesystem::path& path);

// Compares `text` with the golden file kept in the tree, or rewrites the file when
// NORVIK_UPDATE_GOLDEN=1.
void expectGolden(const std::filesystem::path& golden, const std::string& text);

// The message part of each line of an importer log, after "[YYYY-MM-DD HH:MM:SS]
// [tid] "; a line without that prefix fails the test.
std::vector<std::string> logMessages(const std::filesystem::path& log);

struct ChildResult {
    int exitCode = -1;
    std::string output;  // standard output and standard error together, lines ending in LF
};

using Environment = std::vector<std::pair<std::string, std::string>>;

// Runs a program with arguments and extra environment variables through the
// platform's shell and collects what it printed. Throws std::runtime_error when
// no shell can be started (a program that cannot be started ends with the
// shell's exit code).
ChildResult runChild(const std::filesystem::path& program, const std::vector<std::string>& args,
                     const Environment& extraEnvironment = {});

// A user profile with the importer's log switch on or off. On Linux a fresh
// temporary folder used as HOME (with .norvik-registry when on); on Windows the
// real profile folder and HKCU\Software\Norvik EnableAdobeLog (set when on,
// removed when off and on destruction).
class ProfileWithLogSwitch {
public:
    explicit ProfileWithLogSwitch(bool logOn);
    ~ProfileWithLogSwitch();
    ProfileWithLogSwitch(const ProfileWithLogSwitch&) = delete;
    ProfileWithLogSwitch& operator=(const ProfileWithLogSwitch&) = delete;

    // The folder under which the importer makes norvik/adobe.
    const std::filesystem::path& profile() const { return m_profile; }
    // Variables a child needs to use this profile (HOME on Linux; none on Windows).
    Environment childEnvironment() const;

private:
    std::filesystem::path m_profile;
};

// The test program's own profile, for tests that run the importer's code
// in-process: a ProfileWithLogSwitch(false) kept for the rest of the run (HOME
// points at it on Linux), so the log stays off unless a test turns it on and
// never touches the user's own files. Call it before the importer's code first
// looks for the profile folder.
const ProfileWithLogSwitch& processProfile();

}  // namespace hosttest
