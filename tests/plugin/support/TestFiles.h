// Test doubles for fileio::File, a RIFF byte builder, and the helpers that run
// every parser case through several files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "TestPlatform.h"
#include "avi/AviParser.h"
#include "fileio/File.h"

namespace avitest {

using Bytes = std::vector<uint8_t>;

// A file held in memory. Read-only unless writes are wanted; never fails otherwise.
class MemoryFile : public fileio::File {
public:
    explicit MemoryFile(Bytes data = {}) : m_data(std::move(data)) {}
    bool open(const char*, int) override { return true; }
    void close() override {}
    int64_t size() override { return static_cast<int64_t>(m_data.size()); }
    int64_t tell() override { return m_position; }
    bool seek(int64_t offset) override;
    uint64_t read(void* buffer, uint64_t count) override;
    uint64_t write(const void* buffer, uint64_t count) override;
    const Bytes& data() const { return m_data; }

private:
    Bytes m_data;
    int64_t m_position = 0;
};

// Wraps another file: each read returns at most maxRead bytes, and nothing at or
// past failAt (a device that breaks there). Does not own the inner file.
class LimitedFile : public fileio::File {
public:
    LimitedFile(fileio::File& inner, uint64_t maxRead, uint64_t failAt = UINT64_MAX)
        : m_inner(inner), m_maxRead(maxRead), m_failAt(failAt) {}
    bool open(const char* path, int flags) override { return m_inner.open(path, flags); }
    void close() override { m_inner.close(); }
    int64_t size() override { return m_inner.size(); }
    int64_t tell() override { return m_inner.tell(); }
    bool seek(int64_t offset) override { return m_inner.seek(offset); }
    uint64_t read(void* buffer, uint64_t count) override;
    uint64_t write(const void* buffer, uint64_t count) override { return m_inner.write(buffer, count); }
    uint64_t reads = 0;  // read calls made

private:
    fileio::File& m_inner;
    uint64_t m_maxRead;
    uint64_t m_failAt;
};

// Little-endian RIFF bytes, mirroring what the parser reads.
struct Riff {
    static void u16(Bytes& b, uint16_t v);
    static void u32(Bytes& b, uint32_t v);
    static void u64(Bytes& b, uint64_t v);
    static void fourcc(Bytes& b, const char* s);
    // id, size (the data size unless given), data, pad byte.
    static Bytes chunk(const char* id, const Bytes& data, int64_t sizeField = -1);
    // LIST/RIFF chunk: id, size, type, children.
    static Bytes list(const char* id, const char* type, const Bytes& children, int64_t sizeField = -1);
    static Bytes cat(std::initializer_list<Bytes> parts);
    // A minimal valid AVI: avih and one video strl (strh "vids", strf of 40 bytes).
    static Bytes minimalAvi(const Bytes& extraHdrl = {}, const Bytes& afterHdrl = {});
};

// Temporary folders and UTF-8 paths are the host tests' (TestPlatform.h).
using TempDir = hosttest::TempFolder;
using hosttest::utf8;

// Whether files in `dir` can have holes: a 1 GiB file made by writing its last
// byte takes (almost) no disk space.
bool canMakeSparseFiles(const std::filesystem::path& dir);

Bytes readWholeFile(const std::filesystem::path& path);
void writeWholeFile(const std::filesystem::path& path, const Bytes& bytes);

// A comparable text of everything parse produced (streams, headers, index fields, frames).
std::string describe(const AviParser& parser, bool ok);
// The same of a list of frames (offset/size/byteStart/keyFrame each).
std::string describe(const std::vector<FrameEntry>& frames);

// Parses the bytes through an in-memory file, through a file that gives one byte
// per read, and (when onDisk) through the native file; expects identical results
// (checked with gtest). Returns the in-memory parse in `parser`.
bool parseAllWays(const Bytes& bytes, AviParser& parser, bool onDisk = true);
// The same for a file on disk: native file, and native file one byte per read.
bool parseFileAllWays(const std::filesystem::path& path, AviParser& parser);

}  // namespace avitest
