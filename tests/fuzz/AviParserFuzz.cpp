// Fuzzes the RIFF walk, the header lists and the index readers three ways: the
// input as a whole file; the input as byte patches (and a cut) applied to a valid
// OpenDML file with idx1 and AVIX forms, which reaches the index readers at once;
// and that patched file followed by 1.5 GiB of zeros, as a sparse file on disk
// would be, so that size fields can claim more than the malloc limit (1 GiB) and be
// backed by bytes: memory must follow what the file holds, not what it claims.
#include <algorithm>
#include <cstring>
#include <vector>

#include "AviWriter.h"
#include "FuzzInput.h"
#include "avi/AviParser.h"

namespace {

// The bytes, then `zeros` zero bytes.
class MemoryFile : public fileio::File {
public:
    MemoryFile(const uint8_t* data, size_t size, uint64_t zeros = 0) : m_data(data), m_size(size), m_zeros(zeros) {}
    bool open(const char*, int) override { return true; }
    void close() override {}
    int64_t size() override { return static_cast<int64_t>(m_size + m_zeros); }
    int64_t tell() override { return m_position; }
    bool seek(int64_t offset) override {
        if (offset < 0) return false;
        m_position = offset;
        return true;
    }
    uint64_t read(void* buffer, uint64_t count) override {
        const uint64_t pos = static_cast<uint64_t>(m_position), end = m_size + m_zeros;
        if (pos >= end) return 0;
        const uint64_t n = count < end - pos ? count : end - pos;
        const uint64_t held = pos < m_size ? std::min(n, m_size - pos) : 0;
        if (held != 0) std::memcpy(buffer, m_data + pos, held);
        if (n != held) std::memset(static_cast<uint8_t*>(buffer) + held, 0, n - held);
        m_position += static_cast<int64_t>(n);
        return n;
    }
    uint64_t write(const void*, uint64_t) override { return 0; }

private:
    const uint8_t* m_data;
    size_t m_size;
    uint64_t m_zeros;
    int64_t m_position = 0;
};

std::vector<uint8_t> g_template;

void parseAndLookUp(const uint8_t* data, size_t size, uint64_t zeros = 0) {
    MemoryFile file(data, size, zeros);
    AviParser parser;
    parser.parse(file);
    for (const auto& stream : parser.streams) {
        const uint64_t total = stream->totalBytes();
        for (uint64_t p : {uint64_t(0), total / 2, total, total + 1}) (void)stream->findByBytePosition(p);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    aviwriter::Options o;
    o.riffLimit = 700;
    g_template = fuzzinput::writerFile(o, false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    parseAndLookUp(data, size);
    const std::vector<uint8_t> patched = fuzzinput::patched(g_template, data, size);
    parseAndLookUp(patched.data(), patched.size());
    parseAndLookUp(patched.data(), patched.size(), uint64_t(3) << 29);
    return 0;
}
