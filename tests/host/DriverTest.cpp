// The module driver against small fake importers: the host's order of calls,
// what it reads from the answers, and how it copes with a module that answers badly.
#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "norvikhost/HostError.h"
#include "norvikhost/ImporterDriver.h"

using namespace norvikhost;
using namespace prsdk;

namespace {

std::filesystem::path fakeModule(const char* fileName) { return hosttest::binDir() / fileName; }

}  // namespace

TEST(ImporterDriver, PlaysTheModuleWideOrderWithAWellBehavedModule) {
    Host host;
    ImporterDriver driver(host, fakeModule(FAKE_GOOD_MODULE));
    const ModuleAnswers answers = driver.describeModule();
    ASSERT_EQ(answers.formats.size(), 3u);  // two, a list of extensions among them, then the end
    EXPECT_EQ(answers.formats[2].result, imBadFormatIndex);
    EXPECT_EQ(answers.formats[1].extensions, (std::vector<std::string>{"fk1", "fk2"}));
    ASSERT_EQ(answers.subTypeNames.size(), 2u);
    ASSERT_EQ(answers.subTypeNames[0].subTypes.size(), 2u);
    EXPECT_EQ(answers.subTypeNames[0].subTypes[1].name, "Norvik 14-bit RGB");
    EXPECT_EQ(answers.subTypeNames[1].result, imUnsupported);
    // What the module left in the host: its suite given back, its list freed, one event.
    EXPECT_EQ(host.acquisitions(kPrSDKErrorSuite), 1);
    EXPECT_EQ(host.outstandingSuites(), 0);
    EXPECT_EQ(host.memory().livePtrCount(), 0u);
    EXPECT_EQ(host.memory().badDisposals(), 0u);
    ASSERT_EQ(host.errorEvents().size(), 1u);
    EXPECT_EQ(host.errorEvents()[0].description, "started \xC3\xA9\xF0\x9F\x98\x80");
}

TEST(ImporterDriver, CopesWithAModuleThatAnswersBadly) {
    Host host;
    ImporterDriver driver(host, fakeModule(FAKE_BAD_MODULE));
    const ModuleAnswers answers = driver.describeModule();
    EXPECT_EQ(answers.init.result, imBadFile);
    // A format list that never ends is cut; unterminated names stop at their field.
    ASSERT_EQ(answers.formats.size(), std::size_t(ImporterDriver::kMaxFormats));
    EXPECT_EQ(answers.formats[0].name, std::string(256, 'N'));
    EXPECT_EQ(answers.formats[0].shortName, std::string(32, 'S'));
    EXPECT_EQ(answers.formats[0].extensions, std::vector<std::string>{std::string(256, 'e')});
    EXPECT_EQ(answers.supports8, 42);
    // A subtype list outside host memory is reported, neither read nor freed.
    ASSERT_FALSE(answers.subTypeNames.empty());
    EXPECT_FALSE(answers.subTypeNames[0].problem.empty());
    EXPECT_TRUE(answers.subTypeNames[0].subTypes.empty());
    EXPECT_EQ(host.memory().badDisposals(), 0u);
    EXPECT_EQ(answers.shutdown, -7);
}
