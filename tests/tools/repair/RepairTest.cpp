// norvik-repair's library on recordings cut at many points and on damaged files:
// every frame whole in the cut file comes back byte for byte in its place, a cut
// or damaged frame becomes an empty frame, audio comes back up to the cut, and the
// copy's indexes are complete for the importer's parser.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "AviWriter.h"
#include "ClipMaker.h"
#include "Repair.h"
#include "TestPlatform.h"
#include "avi/AviParser.h"
#include "fileio/WinFile.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

struct Chunk {
    uint64_t offset = 0;  // of the data in the original file
    Bytes data;
};

// The chunks of each stream through the parser's complete index (of an uncut file).
std::vector<std::vector<Chunk>> indexedChunks(const fs::path& path) {
    fileio::WinFile file;
    EXPECT_TRUE(file.open(hosttest::utf8(path).c_str(), fileio::Read));
    AviParser parser;
    EXPECT_TRUE(parser.parse(file));
    EXPECT_EQ(parser.errorText, "");
    std::vector<std::vector<Chunk>> streams;
    for (const auto& s : parser.streams) {
        std::vector<Chunk>& out = streams.emplace_back();
        for (const FrameEntry& e : s->frames()) {
            Chunk c{e.offset, Bytes(e.size)};
            file.seek(static_cast<int64_t>(e.offset));
            file.read(c.data.data(), e.size);
            out.push_back(std::move(c));
        }
        EXPECT_TRUE(s->odmlIndexComplete || s->odmlFrames.empty()) << parser.errorText;
    }
    return streams;
}

void writeBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// What a repair of `original` cut to `size` bytes must give, stream by stream:
// video chunks whole in the cut file, then one empty frame for a cut one; audio
// chunks whole, then a cut one's whole sample frames.
std::vector<std::vector<Bytes>> expectedAfterCut(const std::vector<std::vector<Chunk>>& original, uint64_t size,
                                                 const std::vector<uint32_t>& blockAligns) {
    std::vector<std::vector<Bytes>> out(original.size());
    for (size_t s = 0; s < original.size(); ++s)
        for (const Chunk& c : original[s]) {
            if (c.offset + c.data.size() <= size) {
                out[s].push_back(c.data);
                continue;
            }
            if (c.offset > size) break;
            const uint64_t held = c.offset >= size ? 0 : size - c.offset;
            if (blockAligns[s] == 0) out[s].push_back({});
            else if (held >= blockAligns[s])
                out[s].emplace_back(c.data.begin(), c.data.begin() + long(held - held % blockAligns[s]));
            break;
        }
    return out;
}

struct Recording {
    const char* name;
    clipmaker::IndexKind index;
    uint64_t riffLimit;
    int audioStreams;
};

class CutRecordingTest : public ::testing::TestWithParam<Recording> {};

TEST_P(CutRecordingTest, RecoversEveryWholeChunkInPlace) {
    const Recording& r = GetParam();
    hosttest::TempFolder dir;
    clipmaker::ClipPlan plan;
    plan.width = 64, plan.height = 48, plan.frames = 40;
    plan.index = r.index;
    plan.riffLimit = r.riffLimit;
    plan.emptyFrames = {2};
    for (int i = 0; i < r.audioStreams; ++i) plan.audio.push_back({uint16_t(1 + i), 44100, uint16_t(16 + 8 * i)});
    const fs::path whole = dir.path() / "whole.avi", cut = dir.path() / "cut.avi", out = dir.path() / "out.avi";
    clipmaker::makeClip(hosttest::utf8(whole), plan);
    const auto original = indexedChunks(whole);
    std::vector<uint32_t> blockAligns{0};
    for (int i = 0; i < r.audioStreams; ++i) blockAligns.push_back(uint32_t((1 + i) * (2 + i)));
    std::ifstream in(whole, std::ios::binary);
    const Bytes bytes(std::istreambuf_iterator<char>(in), {});
    const uint64_t firstFrame = original[0][0].offset;
    // Inside the first frame, through movi, at the end of the chunks (inside the
    // indexes or a later form's index), and the whole file.
    for (uint64_t size : {firstFrame + 10, bytes.size() / 4, bytes.size() / 2 + 7, bytes.size() * 3 / 5,
                          bytes.size() * 4 / 5 + 3, bytes.size() - 30, uint64_t(bytes.size())}) {
        SCOPED_TRACE(std::string(r.name) + " cut at " + std::to_string(size) + " of " + std::to_string(bytes.size()));
        writeBytes(cut, Bytes(bytes.begin(), bytes.begin() + long(size)));
        repair::repairFile(cut, out);
        const auto repaired = indexedChunks(out);
        const auto expected = expectedAfterCut(original, size, blockAligns);
        ASSERT_EQ(repaired.size(), expected.size());
        for (size_t s = 0; s < expected.size(); ++s) {
            ASSERT_EQ(repaired[s].size(), expected[s].size()) << "stream " << s;
            for (size_t i = 0; i < expected[s].size(); ++i)
                ASSERT_TRUE(repaired[s][i].data == expected[s][i]) << "stream " << s << " chunk " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Recordings, CutRecordingTest,
                         ::testing::Values(Recording{"both indexes", clipmaker::IndexKind::Both, 1ull << 30, 1},
                                           Recording{"several RIFF forms", clipmaker::IndexKind::OpenDml, 60000, 1},
                                           Recording{"idx1 only", clipmaker::IndexKind::Idx1, 1ull << 30, 1},
                                           Recording{"two audio streams", clipmaker::IndexKind::Both, 80000, 2}));

TEST(RepairTest, RefusesCutHeadersAndOutEqualToInAndLeavesNothing) {
    hosttest::TempFolder dir;
    clipmaker::ClipPlan plan;
    plan.width = 64, plan.height = 48, plan.frames = 4;
    const fs::path whole = dir.path() / "whole.avi", cut = dir.path() / "cut.avi", out = dir.path() / "out.avi";
    clipmaker::makeClip(hosttest::utf8(whole), plan);
    std::ifstream in(whole, std::ios::binary);
    Bytes bytes(std::istreambuf_iterator<char>(in), {});
    for (size_t size : {size_t(0), size_t(11), size_t(200)}) {
        writeBytes(cut, Bytes(bytes.begin(), bytes.begin() + long(size)));
        EXPECT_THROW(repair::repairFile(cut, out), std::runtime_error) << size;
        EXPECT_FALSE(fs::exists(out));
        EXPECT_FALSE(fs::exists(fs::path(out).concat(".repair-part")));
    }
    EXPECT_THROW(repair::repairFile(whole, whole), std::runtime_error);
    EXPECT_THROW(repair::repairFile(whole, dir.path() / "." / "whole.avi"), std::runtime_error);
    std::ifstream again(whole, std::ios::binary);
    EXPECT_TRUE(Bytes(std::istreambuf_iterator<char>(again), {}) == bytes);
}

// A file written with JUNK between chunks, a frame whose size field is 5 too large
// (its end lands in the next header, so the walk must resynchronise), and a frame
// whose size runs past the end of the file in the middle of it.
TEST(RepairTest, StepsOverJunkGarbageAndSizesPastTheEnd) {
    hosttest::TempFolder dir;
    clipmaker::ClipPlan plan;
    plan.width = 64, plan.height = 48, plan.frames = 10;
    const fs::path source = dir.path() / "source.avi", damaged = dir.path() / "damaged.avi",
                   out = dir.path() / "out.avi";
    clipmaker::makeClip(hosttest::utf8(source), plan);
    const auto frames = indexedChunks(source)[0];
    aviwriter::StreamSetup video = aviwriter::videoStream(makeFourCC("NRVK"), 64, 48, 25, 1);
    video.format.resize(40);
    const Bytes block = clipmaker::streamFormatBlock(plan);
    video.format.insert(video.format.end(), block.begin(), block.end());
    {
        aviwriter::AviWriter writer(hosttest::utf8(damaged));
        writer.addStream(video);
        for (size_t i = 0; i < frames.size(); ++i) {
            const Bytes& f = frames[i].data;
            const auto size = static_cast<uint32_t>(f.size());
            if (i == 3) writer.writeChunkWithSizeField(0, f.data(), size, size + 5);
            else if (i == 6) writer.writeChunkWithSizeField(0, f.data(), size, 0x7FFFFFF0u);
            else writer.writeChunk(0, f);
            writer.writeJunk(i % 3 == 0 ? 17 : 0);
        }
        writer.finish();
    }
    const repair::RepairSummary summary = repair::repairFile(damaged, out);
    EXPECT_GT(summary.junkBytes, 0u);
    EXPECT_GT(summary.skippedBytes, 0u);
    const auto repaired = indexedChunks(out)[0];
    ASSERT_EQ(repaired.size(), frames.size());
    for (size_t i = 0; i < frames.size(); ++i)
        EXPECT_TRUE(repaired[i].data == (i == 3 || i == 6 ? Bytes() : frames[i].data)) << i;
    EXPECT_EQ(summary.streams.at(0).emptied, 2u);
}

}  // namespace
