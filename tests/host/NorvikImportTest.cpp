// norvik-import as a person runs it, a child process, with the real importer
// module: its diagnostic log, written only with the switch on.
#include <algorithm>
#include <gtest/gtest.h>
#include <regex>
#include <set>

#include "TestPlatform.h"

namespace fs = std::filesystem;
using hosttest::ChildResult;
using hosttest::programPath;
using hosttest::runChild;

namespace {

ChildResult runImport(const std::vector<std::string>& args, const hosttest::Environment& env = {}) {
    return runChild(programPath("norvik-import"), args, env);
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::set<fs::path> filesIn(const fs::path& folder) {
    std::set<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) files.insert(entry.path());
    return files;
}

}  // namespace

TEST(NorvikImportWithImporter, LogIsWrittenOnlyWithTheSwitchOn) {
    {
        const hosttest::ProfileWithLogSwitch off(false);
        const auto before = filesIn(off.profile() / "norvik" / "adobe");
        const bool hadFolder = fs::exists(off.profile() / "norvik");
        EXPECT_EQ(runImport({"formats"}, off.childEnvironment()).exitCode, 0);
        EXPECT_EQ(fs::exists(off.profile() / "norvik"), hadFolder);
        EXPECT_EQ(filesIn(off.profile() / "norvik" / "adobe"), before);
    }
    const hosttest::ProfileWithLogSwitch on(true);
    const fs::path folder = on.profile() / "norvik" / "adobe";
    const auto before = filesIn(folder);
    EXPECT_EQ(runImport({"formats"}, on.childEnvironment()).exitCode, 0);
    std::vector<fs::path> created;
    for (const fs::path& file : filesIn(folder))
        if (!before.count(file)) created.push_back(file);
    ASSERT_EQ(created.size(), 1u);
    EXPECT_TRUE(
        std::regex_match(created[0].filename().string(), std::regex(R"(norvik_pr_importer_\d{8}_\d{6}_\d\d\.log)")))
        << created[0];
    const auto messages = hosttest::logMessages(created[0]);
    fs::remove(created[0]);
    const auto has = [&](const std::string& message) {
        return std::find(messages.begin(), messages.end(), message) != messages.end();
    };
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[0], "Log opened");
    EXPECT_EQ(messages[1].rfind("Application: ", 0), 0u) << messages[1];
    EXPECT_TRUE(contains(messages[1], "norvik-import")) << messages[1];
    for (const char* message :
         {"[imInit] (0)", "    [imNoErr] (0)", "[imGetIndFormat] (14)", "    [imBadFormatIndex] (301)",
          "[imGetSupports8] (36)", "    [malSupports8] (101)", "[imShutdown] (1)"})
        EXPECT_TRUE(has(message)) << message;

    // The start-up report: every host format, codec types 1 to 61, the subtypes and the rows.
    const auto count = [&](const char* pattern) {
        const std::regex shape(pattern);
        return std::count_if(messages.begin(), messages.end(),
                             [&](const std::string& m) { return std::regex_match(m, shape); });
    };
    EXPECT_EQ(count(R"(\[.+\] : [ ?1] [ ?1] [ ?1] -  PrPixelFormat_\w+ \(err: \w+ \w+ \w+\) - -?\d+)"), 73);
    EXPECT_EQ(count(R"((YES| NO) (YES| NO) : .+|  -   - : .+)"), 61);
    EXPECT_EQ(count(R"(\[N\d\w\w\] : \(1\d\d\) .+ : 'Norvik .+')"), 17);
    EXPECT_EQ(count(R"(\[\w{4}\] PrPixelFormat_\w+\s* : \(\s?\d+\) .+ : \(\d\) .+ : [ 1] : [ 1])"), 17);
    EXPECT_GT(count(R"(    <- PrPixelFormat_\w+)"), 17);
}
