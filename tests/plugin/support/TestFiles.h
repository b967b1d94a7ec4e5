// A test double for fileio::File, clips of the AVI writer,
// and the parse helpers of the AVI tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "AviWriter.h"
#include "TestPlatform.h"
#include "avi/AviParser.h"
#include "fileio/File.h"

namespace avitest {

using Bytes = std::vector<uint8_t>;

// A read-only file held in memory; reads never fail otherwise.
class MemoryFile : public fileio::File {
public:
    explicit MemoryFile(Bytes data = {}) : m_data(std::move(data)) {}
    bool open(const char*, int) override { return true; }
    void close() override {}
    int64_t size() override { return static_cast<int64_t>(m_data.size()); }
    int64_t tell() override { return m_position; }
    bool seek(int64_t offset) override;
    uint64_t read(void* buffer, uint64_t count) override;
    uint64_t write(const void*, uint64_t) override { return 0; }

private:
    Bytes m_data;
    int64_t m_position = 0;
};

// Temporary folders and UTF-8 paths are the host tests' (TestPlatform.h).
using TempDir = hosttest::TempFolder;
using hosttest::utf8;

// Whether files in `dir` can have holes: a 1 GiB file made by writing its last
// byte takes (almost) no disk space.
bool canMakeSparseFiles(const std::filesystem::path& dir);

// Writes video (stream 0) and 16-bit stereo audio (stream 1), interleaved: frame
// k has 100 + k bytes (odd sizes too), every third not a key frame; audio chunks
// 64 bytes. Returns each stream's chunk offsets.
std::vector<std::vector<uint64_t>> writeClip(const std::filesystem::path& path, aviwriter::Options options,
                                             int frames = 12,
                                             aviwriter::StreamSetup video = aviwriter::videoStream(0, 8, 8, 25, 1));

// The same clip as bytes, with each stream's chunk offsets.
struct Clip {
    Bytes bytes;
    std::vector<std::vector<uint64_t>> offsets;
};
Clip clipOf(aviwriter::Options options, int frames = 12,
            aviwriter::StreamSetup video = aviwriter::videoStream(0, 8, 8, 25, 1));

// A comparable text of everything parse produced (streams, headers, index fields, frames).
std::string describe(const AviParser& parser, bool ok);
// The same of a list of frames (offset/size/byteStart/keyFrame each).
std::string describe(const std::vector<FrameEntry>& frames);

// Parses the bytes through an in-memory file. (The native file under the parser
// is FileIoTest's, and that of every module test.)
bool parseBytes(const Bytes& bytes, AviParser& parser);
// Parses a file on disk through the native file.
bool parseFile(const std::filesystem::path& path, AviParser& parser);

}  // namespace avitest
