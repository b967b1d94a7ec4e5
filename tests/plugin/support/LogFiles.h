// The log files of one test, <profile>/norvik/adobe/<application>_*.log, under
// an application name of its own so that each test runs alone or in any order;
// removed when it ends (on Windows the profile folder outlives the run).
#pragma once

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "TestPlatform.h"
#include "log/Log.h"

namespace logtest {

struct LogFiles {
    explicit LogFiles(const std::string& test)
        : folder(hosttest::processProfile().profile() / "norvik" / "adobe"),
          application("logtest_" + test + "_" + std::to_string(std::random_device{}())) {}
    ~LogFiles() {
        std::error_code ignored;
        for (const auto& file : paths()) std::filesystem::remove(file, ignored);
    }
    // Sorted by name.
    std::vector<std::filesystem::path> paths() const {
        std::vector<std::filesystem::path> found;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
            if (entry.path().filename().string().rfind(application + "_", 0) == 0) found.push_back(entry.path());
        std::sort(found.begin(), found.end());
        return found;
    }
    // Turns the module's log on under this name, reopening what an earlier test closed.
    void start() const {
        logConfig().applicationName = application;
        logConfig().closed = false;
        logConfig().enabled = true;
    }
    // Closes and turns off the module's log: its messages, one a line, without time and thread.
    std::string stop() const {
        closeLog();
        logConfig().enabled = false;
        std::string messages;
        for (const auto& file : paths())
            for (const std::string& message : hosttest::logMessages(file)) messages += message + "\n";
        return messages;
    }

    const std::filesystem::path folder;
    const std::string application;
};

}  // namespace logtest
