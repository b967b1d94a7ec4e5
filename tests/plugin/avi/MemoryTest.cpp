// What opening a file may cost: an index that claims gigabytes costs what the file
// really holds, and a parse that runs out of memory fails with its reason instead
// of leaving streams shorter than the file.
//
// The program's global operator new and delete are replaced here: they count the
// bytes held (peak included) and can make the n-th allocation from now fail. That
// covers the parser, a static library, and the standard containers it uses, on
// every platform and under the sanitizers.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <new>

#include "TestFiles.h"
#include "fileio/WinFile.h"

using namespace avitest;

namespace {

constexpr size_t kPrefix = alignof(std::max_align_t);  // each block keeps its size in front
constexpr uint64_t kNever = UINT64_MAX;
std::atomic<uint64_t> g_held{0}, g_peak{0}, g_untilFailure{kNever};

void* allocate(size_t size) {
    uint64_t left = g_untilFailure.load();
    while (left != kNever && !g_untilFailure.compare_exchange_weak(left, left == 0 ? kNever : left - 1)) {}
    if (left == 0) throw std::bad_alloc();
    auto* block = static_cast<unsigned char*>(std::malloc(size + kPrefix));
    if (!block) throw std::bad_alloc();
    *reinterpret_cast<size_t*>(block) = size;
    const uint64_t now = g_held += size;
    for (uint64_t peak = g_peak; now > peak && !g_peak.compare_exchange_weak(peak, now);) {}
    return block + kPrefix;
}

void release(void* p) noexcept {
    if (!p) return;
    auto* block = static_cast<unsigned char*>(p) - kPrefix;
    g_held -= *reinterpret_cast<size_t*>(block);
    std::free(block);
}

}  // namespace

void* operator new(size_t size) { return allocate(size); }
void* operator new[](size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, size_t) noexcept { release(p); }
void operator delete[](void* p, size_t) noexcept { release(p); }

// The file of the report this guards against: stream 0's super index names a
// standard index past 4 GiB that declares 536,870,907 entries (a 4 GiB chunk,
// all but the first entries a hole), in a file of 8.5 GiB that takes a few
// kilobytes on disk. Reading it by its declared size took some 20 GB.
TEST(AviMemory, StandardIndexOfFourGigabytesInASparseFile) {
    TempDir dir;
    if (!canMakeSparseFiles(dir.path())) GTEST_SKIP() << "the file system cannot make sparse files";
    const auto path = dir.path() / "huge-index.avi";
    aviwriter::Options o;
    o.sparse = true;
    o.riffLimit = 3000;                        // several RIFF forms
    o.faults.hugeIndexAt = uint64_t(9) << 29;  // 4.5 GiB
    writeClip(path, o, 24);
    ASSERT_GT(std::filesystem::file_size(path), uint64_t(8) << 30);

    fileio::WinFile file;
    ASSERT_TRUE(file.open(utf8(path).c_str(), fileio::Read | fileio::ShareRead));
    AviParser p;
    const uint64_t before = g_held;
    g_peak = before;
    const bool ok = p.parse(file);
    const uint64_t peak = g_peak - before;
    EXPECT_LT(peak, uint64_t(256) << 20);
    std::printf("peak of the parse: %llu bytes\n", static_cast<unsigned long long>(peak));
    ASSERT_TRUE(ok) << p.errorText;
    // The stream's own 24 entries are read, then the first zero entry names no chunk
    // of its own: it lies after the chunk header, the index header and 24 entries.
    EXPECT_EQ(p.errorText, "stream[0]: std index (ix..) entries out of file order at: " +
                               std::to_string(o.faults.hugeIndexAt + 8 + 24 + 8 * 24) + "\n");
    ASSERT_EQ(p.streams.size(), 2u);
    EXPECT_FALSE(p.streams[0]->odmlIndexComplete);
    EXPECT_TRUE(p.streams[1]->odmlIndexComplete);
    EXPECT_EQ(p.streams[0]->frames().size(), p.streams[0]->legacyFrames.size());
    EXPECT_EQ(p.streams[1]->frames().size(), 24u);
}

// Every allocation of a parse is made to fail in turn: each time the parse fails
// and says so, and releases its streams; it never returns streams with fewer
// frames than the file has.
TEST(AviMemory, AnAllocationFailureFailsTheParseWithItsReason) {
    aviwriter::Options o;
    o.riffLimit = 3000;  // several RIFF forms
    const Bytes bytes = clipOf(o, 24).bytes;
    AviParser whole;
    MemoryFile wholeFile(bytes);
    ASSERT_TRUE(whole.parse(wholeFile));
    const std::string expected = describe(whole, true);

    for (uint64_t k = 0;; ++k) {
        MemoryFile file(bytes);
        AviParser p;
        g_untilFailure = k;
        const bool ok = p.parse(file);
        const bool failed = g_untilFailure.exchange(kNever) == kNever;
        if (!failed) {
            EXPECT_EQ(describe(p, ok), expected);
            EXPECT_GT(k, 20u);  // the parse allocates; the failures were really tried
            break;
        }
        ASSERT_FALSE(ok) << "allocation " << k;
        EXPECT_NE(p.errorText.find("out of memory while "), std::string::npos) << p.errorText;
        EXPECT_NE(p.errorText.find("bad_alloc\n"), std::string::npos) << p.errorText;
        EXPECT_TRUE(p.streams.empty());
    }
}
