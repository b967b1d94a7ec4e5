// The diagnostic log: file naming, line format, long and percent-bearing
// messages, concurrent writers.
#include <chrono>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <thread>
#include <vector>

#include "TempHome.h"
#include "log/Log.h"
#include "platform/Platform.h"

namespace {

std::string logFolder() {
    return platform::toUtf8(
        platform::appendPath(platform::appendPath(platform::toWide(testProfileFolder()), u"norvik"), u"adobe"));
}

// A name of its own per test, so runs never see each other's files (on Windows
// the profile folder outlives the run).
std::string uniqueApplication(const char* test) {
    testProfileFolder();  // the profile folder must be in place before the first logger
    return uniqueName(std::string("logtest_") + test + "_");
}

// Removes a test's log files when it ends.
struct LogFiles {
    explicit LogFiles(std::string application) : prefix(std::move(application) + "_") {}
    ~LogFiles() { removeFilesStartingWith(logFolder(), prefix); }
    std::vector<std::string> names() const { return filesStartingWith(logFolder(), prefix); }
    std::string prefix;
};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The message part of a line, after "[time] [thread] ".
std::string messageOf(const std::string& line) {
    static const std::regex prefix(R"(^\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\] \[\d+\] )");
    std::smatch m;
    if (!std::regex_search(line, m, prefix)) return "<no prefix: " + line + ">";
    return m.suffix();
}

}  // namespace

TEST(Logger, NamesFilesByApplicationAndSecondAndNeverReusesOne) {
    const std::string app = uniqueApplication("naming");
    const LogFiles files(app);
    // Two logs begun in the same second: retry until both start in one second.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const auto second = std::time(nullptr);
        Logger first(app, false);
        Logger second_(app, false);
        if (std::time(nullptr) != second) continue;
        ASSERT_TRUE(first.hasFile());
        ASSERT_TRUE(second_.hasFile());
        const auto names = filesStartingWith(logFolder(), app + "_");
        ASSERT_GE(names.size(), 2u);
        const std::regex pattern(app + R"(_\d{8}_\d{6}_(\d\d)\.log)");
        std::smatch m;
        ASSERT_TRUE(std::regex_match(names[names.size() - 2], m, pattern)) << names[0];
        EXPECT_EQ(m[1], "00");
        ASSERT_TRUE(std::regex_match(names.back(), m, pattern)) << names.back();
        EXPECT_EQ(m[1], "01");
        return;
    }
    FAIL() << "could not open two logs within one second";
}

TEST(Logger, LinesCarryTimeThreadAndTheWholeMessage) {
    const std::string app = uniqueApplication("lines");
    const LogFiles files(app);
    const std::string longText(100000, 'x');
    {
        Logger logger(app, false);
        logger.write("plain line");
        logger.write("100%% sure, %d%%", 42);
        logger.write("%s", "a % sign passed as an argument: %d %s %n");
        logger.write("long: %s|end", longText.c_str());
    }
    const auto names = filesStartingWith(logFolder(), app + "_");
    ASSERT_EQ(names.size(), 1u);
    const auto lines = linesOf(readWholeFile(logFolder() + "/" + names[0]));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(messageOf(lines[0]), "Log opened");
    EXPECT_EQ(messageOf(lines[1]), "Application: " + platform::hostExecutablePath());
    EXPECT_EQ(messageOf(lines[2]), "plain line");
    EXPECT_EQ(messageOf(lines[3]), "100% sure, 42%");
    EXPECT_EQ(messageOf(lines[4]), "a % sign passed as an argument: %d %s %n");
    EXPECT_EQ(messageOf(lines[5]), "long: " + longText + "|end");
    const std::string thread = "] [" + std::to_string(platform::currentThreadId()) + "] ";
    EXPECT_NE(lines[2].find(thread), std::string::npos) << lines[2];
}

TEST(Logger, ConcurrentWritersNeverInterleave) {
    const std::string app = uniqueApplication("threads");
    const LogFiles files(app);
    constexpr int kThreads = 8;
    constexpr int kLines = 300;
    {
        Logger logger(app, false);
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&logger, t] {
                const std::string payload(200 + t * 37, static_cast<char>('a' + t));
                for (int i = 0; i < kLines; ++i) logger.write("t%d i%d %s", t, i, payload.c_str());
            });
        }
        for (auto& thread : threads) thread.join();
    }
    const auto names = filesStartingWith(logFolder(), app + "_");
    ASSERT_EQ(names.size(), 1u);
    const auto lines = linesOf(readWholeFile(logFolder() + "/" + names[0]));
    ASSERT_EQ(lines.size(), 2u + kThreads * kLines);
    std::vector<int> next(kThreads, 0);
    const std::regex shape(R"(t(\d) i(\d+) ([a-h]+))");
    for (size_t k = 2; k < lines.size(); ++k) {
        std::smatch m;
        const std::string message = messageOf(lines[k]);
        ASSERT_TRUE(std::regex_match(message, m, shape)) << message.substr(0, 80);
        const int t = std::stoi(m[1]);
        EXPECT_EQ(std::stoi(m[2]), next[t]++) << "lines of one thread keep their order";
        EXPECT_EQ(m[3].str(), std::string(200 + t * 37, static_cast<char>('a' + t)));
    }
}

TEST(LogMessage, OffCreatesNothingAndOnCreatesTheLoggerOnce) {
    LogConfig& config = logConfig();
    config.applicationName = uniqueApplication("switch");
    const LogFiles files(config.applicationName);
    config.enabled = false;
    logMessage("not written %d", 1);
    EXPECT_TRUE(filesStartingWith(logFolder(), config.applicationName).empty());

    config.enabled = true;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) threads.emplace_back([t] { logMessage("first lines %d", t); });
    for (auto& thread : threads) thread.join();
    closeLog();
    logMessage("after close");  // dropped: no second file

    const auto names = filesStartingWith(logFolder(), config.applicationName);
    ASSERT_EQ(names.size(), 1u);
    const auto lines = linesOf(readWholeFile(logFolder() + "/" + names[0]));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(messageOf(lines[0]), "Log opened");
    EXPECT_EQ(messageOf(lines[6]), "Log closed");
    config.enabled = false;
}
