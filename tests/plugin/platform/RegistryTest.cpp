// The Linux stand-in of the user's registry: $HOME/.norvik-registry.
#include <fstream>
#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "platform/Platform.h"

namespace {

const std::filesystem::path& registryFile() {
    static const std::filesystem::path file = hosttest::processProfile().profile() / ".norvik-registry";
    return file;
}

void writeRegistry(const std::string& text) { std::ofstream(registryFile(), std::ios::trunc) << text; }

bool readSwitch(uint32_t& value) {
    return platform::readUserRegistryDword("Software\\Norvik", "EnableAdobeLog", value);
}

}  // namespace

TEST(Registry, ReadsOnlyWellFormedDwordLines) {
    uint32_t value = 77;
    std::filesystem::remove(registryFile());
    EXPECT_FALSE(readSwitch(value));

    writeRegistry("Software\\Norvik\\EnableAdobeLog=dword:00000001\n");
    ASSERT_TRUE(readSwitch(value));
    EXPECT_EQ(value, 1u);

    writeRegistry(
        "Software\\Other\\EnableAdobeLog=dword:00000001\nSoftware\\Norvik\\EnableAdobeLog=dword:DEADbeef\r\n");
    ASSERT_TRUE(readSwitch(value));
    EXPECT_EQ(value, 0xDEADBEEFu);

    for (const char* bad :
         {"Software\\Norvik\\EnableAdobeLog=1\n", "Software\\Norvik\\EnableAdobeLog=dword:\n",
          "Software\\Norvik\\EnableAdobeLog=dword:123456789\n", "Software\\Norvik\\EnableAdobeLog=dword:12x4\n",
          "Software\\Norvik\\EnableAdobeLo=dword:1\n", "software\\norvik\\enableadobelog=dword:1\n"}) {
        writeRegistry(bad);
        EXPECT_FALSE(readSwitch(value)) << bad;
    }
}

TEST(Text, Utf8AndUtf16RoundTrip) {
    const std::u16string wide = u"C:\\clips\\\u00e9t\u00e9 \u65e5\u672c \U0001F3AC.avi";
    const std::string utf8 = platform::toUtf8(wide);
    EXPECT_EQ(utf8, "C:\\clips\\\xc3\xa9t\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x8e\xac.avi");
    EXPECT_EQ(platform::toWide(utf8), wide);
    EXPECT_EQ(platform::toUtf8(u""), "");
    EXPECT_EQ(platform::toWide(""), u"");
    EXPECT_EQ(platform::toWide("a\xff"
                               "b"),
              u"a\ufffdb");                                    // invalid byte
    EXPECT_EQ(platform::toWide("\xe6\x97"), u"\ufffd");        // cut sequence
    EXPECT_EQ(platform::toUtf8(u"\xd800x"), "\xef\xbf\xbdx");  // lone surrogate
}
