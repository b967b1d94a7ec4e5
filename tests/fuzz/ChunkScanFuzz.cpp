// Fuzzes norvik-repair's chunk scan and recovery (resynchronisation, cut chunks,
// frame structure checks, audio trimming) on the input as a whole file and as
// byte patches (and a cut) applied to a small Norvik clip with audio, idx1 and
// AVIX forms. Everything runs in memory.
#include <cstring>
#include <filesystem>
#include <random>
#include <vector>

#include "ChunkScan.h"
#include "FuzzInput.h"
#include "Recovery.h"
#include "avi/AviParser.h"

namespace {

// The input as a read-only fileio::File for the header parser.
class MemoryFile : public fileio::File {
public:
    MemoryFile(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool open(const char*, int) override { return true; }
    void close() override {}
    int64_t size() override { return static_cast<int64_t>(m_size); }
    int64_t tell() override { return m_position; }
    bool seek(int64_t offset) override {
        if (offset < 0) return false;
        m_position = offset;
        return true;
    }
    uint64_t read(void* buffer, uint64_t count) override {
        const uint64_t pos = static_cast<uint64_t>(m_position);
        if (pos >= m_size) return 0;
        const uint64_t n = count < m_size - pos ? count : m_size - pos;
        if (n != 0) std::memcpy(buffer, m_data + pos, n);
        m_position += static_cast<int64_t>(n);
        return n;
    }
    uint64_t write(const void*, uint64_t) override { return 0; }

private:
    const uint8_t* m_data;
    size_t m_size;
    int64_t m_position = 0;
};

std::vector<uint8_t> g_template;

void scanAndRecover(const uint8_t* data, size_t size) {
    repair::MemorySource source(data, size);
    const repair::ScanResult scan = repair::scanChunks(source);
    for (const repair::ScannedChunk& c : scan.chunks)
        if (c.dataOffset + c.available > size) __builtin_trap();
    MemoryFile file(data, size);
    AviParser parser;
    if (!parser.parse(file)) return;
    repair::Recovery recovery(source, parser, scan);
    recovery.run([&](size_t stream, const uint8_t* chunk, uint32_t bytes) {
        if (stream >= recovery.streams.size() || (bytes != 0 && !chunk)) __builtin_trap();
    });
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("norvik-fuzz-scan-" + std::to_string(std::random_device{}()) + ".avi");
    clipmaker::ClipPlan plan = fuzzinput::smallClip(104, 4);
    plan.audio = {{2, 8000, 16}};
    clipmaker::makeClip(path.string(), plan);
    g_template = fuzzinput::readFile(path);
    std::filesystem::remove(path);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    scanAndRecover(data, size);
    const std::vector<uint8_t> patched = fuzzinput::patched(g_template, data, size);
    scanAndRecover(patched.data(), patched.size());
    return 0;
}
