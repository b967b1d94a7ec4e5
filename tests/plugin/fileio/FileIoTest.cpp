// The native file and the file-layer helpers.
#include <fstream>
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "fileio/WinFile.h"

using namespace avitest;

namespace {

bool openPath(fileio::WinFile& f, const std::filesystem::path& p, int flags) { return f.open(utf8(p).c_str(), flags); }

}  // namespace

TEST(WinFile, OpenFlagsDecideCreationAndFailure) {
    TempDir dir;
    const auto path = dir.path() / std::filesystem::path(u8"clip \u00e9\u4e2d.avi");
    fileio::WinFile f;
    EXPECT_FALSE(openPath(f, path, fileio::Read));
    EXPECT_FALSE(f.isOpen());
    // Read-write access to an existing file: missing file fails, nothing is created.
    EXPECT_FALSE(openPath(f, path, fileio::Read | fileio::Write | fileio::OpenExisting));
    EXPECT_FALSE(std::filesystem::exists(path));

    std::ofstream(path, std::ios::binary) << std::string(100, 7);
    EXPECT_FALSE(openPath(f, path, fileio::ShareRead));  // neither Read nor Write
    ASSERT_TRUE(openPath(f, path, fileio::Read | fileio::Write | fileio::OpenExisting | fileio::ShareRead));
    EXPECT_EQ(f.size(), 100);  // not truncated
    f.close();
    EXPECT_FALSE(f.isOpen());

    ASSERT_TRUE(openPath(f, path, fileio::Write));  // Write alone replaces the file
    EXPECT_EQ(f.size(), 0);
    f.close();  // opened without sharing: no second open could succeed on Windows
    const std::u16string wide = u"clip \u00e9\u4e2d.avi";
    fileio::WinFile g;
    EXPECT_TRUE(g.open((dir.path().u16string() + u"/" + wide).c_str(), fileio::Read));
}

TEST(WinFile, ReadSeekWriteAndReopen) {
    TempDir dir;
    const auto path = dir.path() / "data.bin";
    std::string content(5000, 0);
    for (size_t i = 0; i < content.size(); ++i) content[i] = char(i * 7);
    std::ofstream(path, std::ios::binary) << content;
    std::ofstream(dir.path() / "other.bin", std::ios::binary) << "abc";

    fileio::WinFile f;
    ASSERT_TRUE(openPath(f, (dir.path() / "other.bin"), fileio::Read));
    ASSERT_TRUE(openPath(f, path, fileio::Read | fileio::Write | fileio::OpenExisting));  // closes the first
    EXPECT_EQ(f.size(), 5000);
    ASSERT_TRUE(f.seek(4990));
    uint8_t buffer[64];
    EXPECT_EQ(f.read(buffer, sizeof buffer), 10u);  // short at the end
    EXPECT_EQ(buffer[0], uint8_t(content[4990]));
    EXPECT_EQ(f.tell(), 5000);
    EXPECT_TRUE(f.seek(1 << 20));  // past the end succeeds, reads nothing
    EXPECT_EQ(f.read(buffer, 1), 0u);
    EXPECT_FALSE(f.seek(-8));

    ASSERT_TRUE(f.seek(100));
    const uint8_t patch[3] = {1, 2, 3};
    EXPECT_EQ(f.writeAt(patch, 3, 10), 3u);
    EXPECT_EQ(f.tell(), 100);  // position kept
    f.close();
    const std::string after = hosttest::readFile(path);
    EXPECT_EQ(after[10], 1);
    EXPECT_EQ(after[12], 3);
    EXPECT_EQ(after.size(), 5000u);
}

// The read error and its text are in the parser's messages (AviParser, AviIndex).
TEST(FileHelpers, ExceptionsCarryTheRequest) {
    MemoryFile f(Bytes(100, 0));
    uint8_t buffer[128];
    try {
        fileio::seekTo(f, -8);
        FAIL() << "no exception";
    } catch (const fileio::SeekError& e) {
        EXPECT_STREQ(e.what(), "Seek error: offset: -8");
    }
    EXPECT_NO_THROW(fileio::seekTo(f, 50));
    EXPECT_NO_THROW(fileio::readExact(f, buffer, 50));
    EXPECT_THROW(fileio::readExact(f, buffer, 1), fileio::Error);  // 0 past the end
}
