#include "TempHome.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> filesStartingWith(const std::string& folder, const std::string& prefix) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, prefix.size(), prefix) == 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string uniqueName(const std::string& prefix) {
    std::random_device random;
    return prefix + std::to_string(random()) + std::to_string(random());
}

void removeFilesStartingWith(const std::string& folder, const std::string& prefix) {
    for (const std::string& name : filesStartingWith(folder, prefix)) {
        std::error_code ec;
        fs::remove(fs::path(folder) / name, ec);
    }
}
