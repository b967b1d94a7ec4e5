// Frame indexes from files written by the AVI writer, and the writer's faults
// written then parsed: each fault gives its exact message and its fallback.
#include <cstring>
#include <gtest/gtest.h>

#include "TestFiles.h"

using namespace avitest;
using aviwriter::AviWriter;

namespace {

void expectFrames(const AviStream& s, const std::vector<uint64_t>& offsets, bool video) {
    const auto& f = s.frames();
    ASSERT_EQ(f.size(), offsets.size());
    uint64_t start = 0;
    for (size_t k = 0; k < f.size(); ++k) {
        EXPECT_EQ(f[k].offset, offsets[k]);
        EXPECT_EQ(f[k].size, video ? 100 + k : 64);
        EXPECT_EQ(f[k].byteStart, start);
        EXPECT_EQ(f[k].keyFrame, !video || k % 3 == 0);
        start += f[k].size;
    }
    EXPECT_EQ(s.totalBytes(), start);
}

// The frames a stream's indexes still reach when the file `whole` (parsed into
// `full`) is cut at `cut`: its OpenDML index while every standard index starts
// before the cut, each keeping the entries it still holds whole; otherwise the
// idx1 records the file still holds whole.
std::vector<FrameEntry> reachable(const Bytes& whole, const AviParser& full, size_t s, uint64_t cut) {
    const AviStream& stream = *full.streams[s];
    std::vector<FrameEntry> kept;
    const auto& records = stream.superIndex;
    if (std::all_of(records.begin(), records.end(), [&](const SuperIndexEntry& r) { return r.offset + 8 < cut; })) {
        auto next = stream.odmlFrames.begin();
        for (size_t j = 0; j < records.size(); ++j) {
            const uint64_t count = stream.standardIndexes[j].entriesInUse(), entries = records[j].offset + 32;
            const uint64_t held = cut > entries ? std::min<uint64_t>(count, (cut - entries) / 8) : 0;
            kept.insert(kept.end(), next, next + std::ptrdiff_t(held));
            next += std::ptrdiff_t(count);
        }
        return kept;
    }
    const ChunkNode* idx1 = full.chunks.front().findChild(makeFourCC("idx1"), false);
    const uint64_t end = std::min<uint64_t>(cut, uint64_t(idx1->dataStart()) + idx1->dataSize());
    const char digits[2] = {char('0' + stream.number / 10), char('0' + stream.number % 10)};
    auto next = stream.legacyFrames.begin();
    for (uint64_t at = uint64_t(idx1->dataStart()); at + 16 <= end; at += 16)
        if (whole[at] == digits[0] && whole[at + 1] == digits[1]) kept.push_back(*next++);
    return kept;
}

}  // namespace

// A recording that stopped while writing: a two-stream clip in eight RIFF forms cut
// at a dozen points, in the headers' wake, inside frames, inside standard indexes
// and idx1. Each parses and keeps what its indexes still reach; a standard index
// cut short keeps the stream on its OpenDML index, whose entries past the cut are
// dropped.
TEST(AviIndex, CutOffRecordingsKeepWhatTheirIndexesReach) {
    aviwriter::Options o;
    o.riffLimit = 2000;  // several forms, a few frames in each
    o.superIndexSlots = 8;
    const Bytes whole = clipOf(o, 60).bytes;
    AviParser full;
    ASSERT_TRUE(parseBytes(whole, full));
    ASSERT_EQ(full.errorText, "");
    const auto& video = full.streams[0]->superIndex;
    const auto& audio = full.streams[1]->superIndex;
    ASSERT_GE(video.size(), 4u);
    const ChunkNode& form = full.chunks.front();
    const uint64_t idx1 = uint64_t(form.findChild(makeFourCC("idx1"), false)->dataStart());
    const uint64_t firstFrame = full.streams[0]->odmlFrames.front().offset;
    const uint64_t secondForm = form.offset + 8 + form.size;
    const uint64_t cuts[] = {
        uint64_t(form.findChild(makeFourCC("movi"), true)->offset),  // right after the headers
        firstFrame + 3,                                              // inside the first frame
        video[0].offset + 8 + 10,                                    // inside the first standard index's header
        video[0].offset + 8 + 24 + 8 * 2 + 3,                        // inside one of its entries
        idx1 + 16 * 5,                                               // inside idx1, between records
        idx1 + 16 * 7 + 1,                                           // inside idx1, one byte into a record
        secondForm,                                                  // after the first form
        full.streams[0]->odmlFrames.back().offset + 1,               // inside the last frame
        video.back().offset + 8 + 24 + 8 * 1 + 5,                    // inside the last standard index of the video
        audio.back().offset + 8 + 3,                                 // inside the audio's last standard index header
        audio.back().offset + 8 + 24 + 8,                            // after the audio's first entry there
        whole.size() - 1,                                            // one byte short
    };
    for (const uint64_t cut : cuts) {
        SCOPED_TRACE("cut at " + std::to_string(cut) + " of " + std::to_string(whole.size()));
        AviParser p;
        ASSERT_TRUE(parseBytes(Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(cut)), p));
        ASSERT_EQ(p.streams.size(), 2u);
        for (size_t s = 0; s < 2; ++s) {
            EXPECT_EQ(describe(p.streams[s]->frames()), describe(reachable(whole, full, s, cut)))
                << "stream " << s << "\n"
                << p.errorText;
        }
    }
}

TEST(AviIndex, BothIndexesLocateEveryChunk) {
    for (const bool openDml : {false, true}) {
        aviwriter::Options o;
        o.openDml = openDml;
        o.riffLimit = 4000;  // several AVIX forms when OpenDML is on
        o.infoSoftware = "writer";
        o.junkAfterHeader = 33;
        const Clip clip = clipOf(o, 40);
        AviParser p;
        ASSERT_TRUE(parseBytes(clip.bytes, p)) << p.errorText;
        EXPECT_EQ(p.errorText, "");
        ASSERT_EQ(p.streams.size(), 2u);
        for (int s = 0; s < 2; ++s) {
            EXPECT_EQ(p.streams[s]->odmlIndexComplete, openDml);
            expectFrames(*p.streams[s], clip.offsets[s], s == 0);
        }
        if (openDml) {
            EXPECT_GT(p.streams[0]->standardIndexes.size(), 2u);
            EXPECT_LT(p.streams[0]->legacyFrames.size(), 40u);  // idx1 covers the first form only
        }
    }
}

// idx1 records go to the stream of their number, also after a stream list that
// was dropped (stream 0 without strh: the audio keeps the records of 01wb).
TEST(AviIndex, Idx1FollowsStreamNumbersPastADroppedStreamList) {
    aviwriter::Options o;
    o.openDml = false;
    auto video = aviwriter::videoStream(0, 8, 8, 25, 1);
    video.omitStrh = true;
    const Clip clip = clipOf(o, 12, video);
    AviParser p;
    ASSERT_TRUE(parseBytes(clip.bytes, p));
    ASSERT_EQ(p.streams.size(), 1u);
    expectFrames(*p.streams[0], clip.offsets[1], false);
}

// (Byte positions among empty chunks are AudioReader's.)
TEST(AviIndex, RecListsAndEmptyChunks) {
    TempDir dir;
    const auto path = dir.path() / "rec.avi";
    {
        AviWriter w(utf8(path));
        w.addVideoStream(aviwriter::videoStream(0, 8, 8, 25, 1));
        w.addAudioStream(aviwriter::pcmAudioStream(1, 8000, 8));
        w.beginRec();
        w.writeChunk(0, Bytes(3, 1));
        w.writeChunk(1, Bytes(10, 2));
        w.endRec();
        w.writeChunk(1, Bytes{});
        w.writeChunk(1, Bytes(5, 3));
        w.writeChunk(0, Bytes{});
        w.finish();
    }
    AviParser p;
    ASSERT_TRUE(parseFile(path, p));
    for (const bool useOdml : {true, false}) {
        p.streams[1]->odmlIndexComplete = useOdml;
        const AviStream& audio = *p.streams[1];
        ASSERT_EQ(audio.frames().size(), 3u);  // the rec entry of idx1 belongs to no stream
        EXPECT_EQ(audio.frames()[1].byteStart, 10u);
        EXPECT_EQ(audio.frames()[1].size, 0u);
        EXPECT_EQ(audio.totalBytes(), 15u);
        EXPECT_EQ(p.streams[0]->frames().size(), 2u);
    }
}

TEST(AviIndex, WriterFaultsGiveTheirMessagesAndFallBack) {
    // The message each of the two streams gives.
    const auto both = [](const std::string& m) { return "stream[0]: " + m + "\nstream[1]: " + m + "\n"; };
    const std::string superSize = "super index (indx) unexpected super index entry size (wLongsPerEntry): ";
    const std::string stdSize = "std index (ix..) unexpected std index entry size (wLongsPerEntry): ";
    struct Case {
        const char* name;
        void (*apply)(aviwriter::Options&);
        std::string text;  // "*": only its start is the writer's choice
        bool odml;         // stream 0 keeps its OpenDML index
        size_t frames0;    // frames of stream 0 after the fallback
    };
    const Case cases[] = {
        {"super wLongsPerEntry", [](auto& o) { o.faults.superLongsPerEntry = 3; }, both(superSize + "3"), false, 12},
        {"std wLongsPerEntry", [](auto& o) { o.faults.stdLongsPerEntry = 1; }, both(stdSize + "1"), false, 12},
        {"super count",
         [](auto& o) {
             o.superIndexSlots = 1;
             o.faults.superExtraEntries = 2;
         },
         both("super index (indx) chunk data is smaller than nEntriesInUse: 3 "), false, 12},
        {"std count", [](auto& o) { o.faults.stdExtraEntries = 1000000; },
         both("std index (ix..) chunk data is smaller than nEntriesInUse: 1000012"), false, 12},
        {"super dwSize below 8", [](auto& o) { o.faults.superSmallSize = true; }, "", true, 0},
        {"super past the end", [](auto& o) { o.faults.superOffsetPastEnd = true; },
         "stream[0]: could not read standard index at: *", false, 12},
        {"super names the indx", [](auto& o) { o.faults.superPointsToIndx = true; }, both(stdSize + "4"), false, 12},
        {"idx1 size", [](auto& o) { o.faults.idx1ExtraBytes = 9; }, "idx1 size is not a multiple of index entry size\n",
         true, 12},
        // cut inside the movi list header: the headers stand, no index is found
        {"truncated",
         [](auto& o) {
             o.openDml = false;
             o.faults.truncateAt = 318;
         },
         "riff structure is corrupt or invalid\nriff chunk at 314: Read error: size: 8, read: 4\n", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        aviwriter::Options o;
        c.apply(o);
        AviParser p;
        ASSERT_TRUE(parseBytes(clipOf(o).bytes, p));
        const bool prefix = c.text.ends_with('*');
        EXPECT_EQ(prefix ? p.errorText.substr(0, c.text.size() - 1) + '*' : p.errorText, c.text);
        ASSERT_EQ(p.streams.size(), 2u);
        EXPECT_EQ(p.streams[0]->odmlIndexComplete, c.odml);
        EXPECT_EQ(p.streams[0]->frames().size(), c.frames0);
    }
}

// An index must run forward through the file. Super index records that all name
// the first standard index end the reading at the second record, so that they
// cannot multiply the work or the entries; standard index entries naming chunks
// less than a chunk header apart (here 1 byte) end it at the second entry.
TEST(AviIndex, IndexesThatDoNotRunForward) {
    aviwriter::Options o;
    o.riffLimit = 4000;  // a super index record per form
    o.faults.superRepeatsFirst = true;
    AviParser p;
    ASSERT_TRUE(parseBytes(clipOf(o, 40).bytes, p));
    const ChunkNode* strl = p.chunks.front().findChild(makeFourCC("hdrl"), true)->findChild(makeFourCC("strl"), true);
    const uint64_t records = uint64_t(strl->findChild(makeFourCC("indx"), false)->dataStart()) + 24;
    EXPECT_EQ(p.errorText.substr(0, p.errorText.find('\n')),
              "stream[0]: super index (indx) entries out of file order at: " + std::to_string(records + 16));
    EXPECT_FALSE(p.streams[0]->odmlIndexComplete);
    EXPECT_EQ(p.streams[0]->superIndex.size(), 1u);
    EXPECT_EQ(p.streams[0]->odmlFrames.size(), p.streams[0]->standardIndexes[0].entriesInUse());

    Clip clip = clipOf({});
    ASSERT_TRUE(parseBytes(clip.bytes, p));
    const uint64_t entries = p.streams[0]->superIndex[0].offset + 8 + 24;
    uint32_t first = 0;
    std::memcpy(&first, &clip.bytes[entries], 4);
    ++first;  // the second entry names the byte after the first one's chunk start
    std::memcpy(&clip.bytes[entries + 8], &first, 4);
    ASSERT_TRUE(parseBytes(clip.bytes, p));
    EXPECT_EQ(p.errorText,
              "stream[0]: std index (ix..) entries out of file order at: " + std::to_string(entries + 8) + "\n");
    EXPECT_FALSE(p.streams[0]->odmlIndexComplete);
    EXPECT_EQ(p.streams[0]->odmlFrames.size(), 1u);
}

TEST(AviIndex, ChunksBeyondFourGigabytesInASparseFile) {
    TempDir dir;
    const auto path = dir.path() / "sparse.avi";
    std::vector<uint64_t> offsets;
    {
        aviwriter::Options o;
        o.sparse = true;
        AviWriter w(utf8(path), o);
        w.addVideoStream(aviwriter::videoStream(0, 8, 8, 25, 1));
        w.writeChunk(0, Bytes(16, 1));
        w.writeJunk(0xF0000000u);  // each in a form of its own
        w.writeJunk(0xF0000000u);
        for (int k = 2; k < 5; ++k) w.writeChunk(0, Bytes(16, uint8_t(k)));
        w.writeZeroChunk(0, 1 << 20);
        w.finish();
        for (size_t n = 0; n < w.chunkCount(0); ++n) offsets.push_back(w.chunkOffset(0, n));
    }
    ASSERT_GT(offsets.back(), uint64_t(1) << 32);
    AviParser p;
    ASSERT_TRUE(parseFile(path, p)) << p.errorText;
    EXPECT_EQ(p.errorText, "");
    ASSERT_EQ(p.streams.size(), 1u);
    std::vector<uint64_t> found;
    for (const FrameEntry& f : p.streams[0]->frames()) found.push_back(f.offset);
    EXPECT_EQ(found, offsets);
    EXPECT_EQ(p.streams[0]->totalBytes(), 16u * 4 + (1u << 20));
}
