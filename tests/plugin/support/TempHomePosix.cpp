// Linux: $HOME points at a fresh temporary folder for the whole test run.
#include <cstdlib>
#include <filesystem>

#include "TempHome.h"

const std::string& testProfileFolder() {
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "norvik-test-home-XXXXXX").string();
        const char* made = mkdtemp(pattern.data());
        std::string home = made ? std::string(made) : std::string();
        setenv("HOME", home.c_str(), 1);
        return home;
    }();
    return folder;
}
