// The diagnostic log: file naming, line format, long and percent-bearing
// messages, concurrent writers and the switch.
#include <gtest/gtest.h>
#include <regex>
#include <thread>
#include <vector>

#include "LogFiles.h"
#include "platform/Platform.h"

using logtest::LogFiles;

TEST(Logger, NamesFilesByApplicationAndSecondAndNeverReusesOne) {
    // Two logs begun in the same second: retry until both start in one second,
    // each attempt under a name of its own (an attempt that crossed a second
    // leaves files that would shift the next attempt's numbers).
    for (int attempt = 0; attempt < 5; ++attempt) {
        const LogFiles files("naming");
        const auto second = std::time(nullptr);
        Logger first(files.application, false);
        Logger second_(files.application, false);
        if (std::time(nullptr) != second) continue;
        const auto names = files.paths();
        ASSERT_GE(names.size(), 2u);
        const std::regex pattern(files.application + R"(_\d{8}_\d{6}_(\d\d)\.log)");
        std::smatch m;
        const std::string last = names.back().filename().string(), before = names[names.size() - 2].filename().string();
        ASSERT_TRUE(std::regex_match(before, m, pattern)) << before;
        EXPECT_EQ(m[1], "00");
        ASSERT_TRUE(std::regex_match(last, m, pattern)) << last;
        EXPECT_EQ(m[1], "01");
        return;
    }
    FAIL() << "could not open two logs within one second";
}

// Percent signs, a long message and the thread id, then threads writing at once:
// their lines never interleave and keep their order.
TEST(Logger, LinesCarryTimeThreadAndTheWholeMessageAndNeverInterleave) {
    const LogFiles files("lines");
    const std::string longText(100000, 'x');
    constexpr int kThreads = 8, kLines = 300;
    {
        Logger logger(files.application, false);
        logger.write("plain line");
        logger.write("100%% sure, %d%%", 42);
        logger.write("%s", "a % sign passed as an argument: %d %s %n");
        logger.write("long: %s|end", longText.c_str());
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&logger, t] {
                const std::string payload(200 + t * 37, static_cast<char>('a' + t));
                for (int i = 0; i < kLines; ++i) logger.write("t%d i%d %s", t, i, payload.c_str());
            });
        }
        for (auto& thread : threads) thread.join();
    }
    ASSERT_EQ(files.paths().size(), 1u);
    const auto messages = hosttest::logMessages(files.paths()[0]);
    ASSERT_EQ(messages.size(), 6u + kThreads * kLines);
    EXPECT_EQ(std::vector<std::string>(messages.begin(), messages.begin() + 6),
              (std::vector<std::string>{"Log opened", "Application: " + platform::hostExecutablePath(), "plain line",
                                        "100% sure, 42%", "a % sign passed as an argument: %d %s %n",
                                        "long: " + longText + "|end"}));
    const std::string thread = "] [" + std::to_string(platform::currentThreadId()) + "] plain line";
    EXPECT_NE(hosttest::readFile(files.paths()[0]).find(thread), std::string::npos);
    std::vector<int> next(kThreads, 0);
    const std::regex shape(R"(t(\d) i(\d+) ([a-h]+))");
    for (size_t k = 6; k < messages.size(); ++k) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(messages[k], m, shape)) << messages[k].substr(0, 80);
        const int t = std::stoi(m[1]);
        EXPECT_EQ(std::stoi(m[2]), next[t]++) << "lines of one thread keep their order";
        EXPECT_EQ(m[3].str(), std::string(200 + t * 37, static_cast<char>('a' + t)));
    }
}

TEST(LogMessage, OffCreatesNothingAndOnCreatesTheLoggerOnce) {
    const LogFiles files("switch");
    files.start();
    logConfig().enabled = false;
    logMessage("not written %d", 1);  // off: the line count below shows it dropped
    logConfig().enabled = true;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) threads.emplace_back([t] { logMessage("first lines %d", t); });
    for (auto& thread : threads) thread.join();
    closeLog();
    logMessage("after close");  // dropped: no second file
    logConfig().enabled = false;

    ASSERT_EQ(files.paths().size(), 1u);
    const auto messages = hosttest::logMessages(files.paths()[0]);
    ASSERT_EQ(messages.size(), 7u);
    EXPECT_EQ(messages[0], "Log opened");
    EXPECT_EQ(messages[6], "Log closed");
}
