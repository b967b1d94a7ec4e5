// The chunk walk and the header lists, on synthetic bytes.
#include <algorithm>
#include <gtest/gtest.h>

#include "TestFiles.h"

using namespace avitest;

namespace {

// A RIFF chunk: id, size (the data size unless given), data, pad byte.
Bytes chunk(const char* id, const Bytes& data, int64_t sizeField = -1) {
    const uint64_t size = sizeField >= 0 ? uint64_t(sizeField) : data.size();
    Bytes b(id, id + 4);
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(size >> (8 * i)));
    b.insert(b.end(), data.begin(), data.end());
    if (data.size() & 1) b.push_back(0);
    return b;
}

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes b;
    for (const Bytes& p : parts) b.insert(b.end(), p.begin(), p.end());
    return b;
}

// A LIST or RIFF chunk: its type, then the children.
Bytes list(const char* id, const char* type, const Bytes& children, int64_t sizeField = -1) {
    return chunk(id, cat({Bytes(type, type + 4), children}), sizeField);
}

Bytes streamHeader(const char* type) {
    Bytes h(56, 0);
    std::copy_n(type, 4, h.begin());
    return h;
}

Bytes strl(const Bytes& children) { return list("LIST", "strl", children); }

Bytes goodStrl(const char* type, size_t formatSize = 40) {
    return strl(cat({chunk("strh", streamHeader(type)), chunk("strf", Bytes(formatSize, 1))}));
}

Bytes avi(const Bytes& hdrlChildren, const Bytes& after = {}) {
    return list("RIFF", "AVI ", cat({list("LIST", "hdrl", hdrlChildren), after}));
}

Bytes avih() { return chunk("avih", Bytes(56, 0)); }

}  // namespace

TEST(AviParser, BadStreamListsAreDroppedAndKeepTheirNumbers) {
    const Bytes noStrh = strl(chunk("strf", Bytes(40)));
    const Bytes noStrf = strl(chunk("strh", streamHeader("auds")));
    const Bytes shortStrh = strl(cat({chunk("strh", Bytes(30)), chunk("strf", Bytes(4))}));
    AviParser p;
    ASSERT_TRUE(parseBytes(
        avi(cat({avih(), goodStrl("vids"), noStrh, goodStrl("auds"), noStrf, shortStrh, goodStrl("auds", 0)})), p));
    EXPECT_EQ(p.errorText,
              "stream[1]: strh missing in strl\nstream[3]: strf missing in strl\n"
              "stream[4]: strh data read error\n");
    ASSERT_EQ(p.streams.size(), 3u);
    EXPECT_EQ(p.streams[0]->number, 0u);
    EXPECT_EQ(p.streams[1]->number, 2u);
    EXPECT_EQ(p.streams[2]->number, 5u);
    EXPECT_TRUE(p.streams[2]->format.empty());
}

// What is not an AVI form fails the parse; a broken tree after good headers ends
// the walk and leaves the parse to what was read.
TEST(AviParser, NonAviFormsFailAndBrokenTreesEndTheWalk) {
    const std::string signature = "file doesn't look like AVI (first 12 bytes is not 'RIFF'....'AVI ')";
    const std::string corrupt = "riff structure is corrupt or invalid\n";
    const Bytes good = cat({avih(), goodStrl("vids")});
    struct Case {
        Bytes bytes;
        std::string text;
        int streams;  // -1: the parse fails
    };
    const Case cases[] = {
        {Bytes{'R', 'I', 'F', 'F', 4, 0}, signature, -1},
        {list("RIFF", "WAVE", chunk("fmt ", Bytes(16))), signature, -1},
        {list("RIFF", "AVI ", chunk("JUNK", Bytes(4))), "hdrl missing\n", -1},
        {avi(goodStrl("vids")), "avih missing\n", -1},
        {avi(chunk("avih", Bytes(20))), "avih data read error\n", -1},
        // a RIFF form too small to hold its own type is no chunk at all
        {list("RIFF", "AVI ", {}, 2),
         corrupt + "riff chunk at 0: list size 2 cannot hold its type\nriff structure is empty\n", -1},
        // a size of zero on the form itself: nothing beyond it is walked
        {list("RIFF", "AVI ", list("LIST", "hdrl", good), 4), "hdrl missing\n", -1},
        // cut inside a chunk header after the headers
        {[&] {
             Bytes b = avi(good, chunk("JUNK", Bytes(10)));
             b.resize(b.size() - 13);
             return b;
         }(),
         corrupt + "riff chunk at 212: Read error: size: 8, read: 5\n", 1},
        // a list whose size cannot hold its type
        {avi(cat({good, list("LIST", "strl", {}, 3)})),
         corrupt + "riff chunk at 212: list size 3 cannot hold its type\n", 1},
        // chunks claiming nearly 4 GiB: the walk moves past the end of its list and stops
        {avi(cat({good, chunk("JUNK", Bytes(8), 0xFFFFFFF8)})), "", 1},
        {avi(cat({good, chunk("JUNK", Bytes(8), 0xFFFFFFFF), goodStrl("auds")})), "", 1},
        // a header list of zeros (a hole in a sparse file) reads as empty chunks: the
        // tree stops growing at 65,536 chunks
        {avi(cat({good, Bytes(8 * 70000, 0)})),
         corrupt + "riff chunk at " + std::to_string(212 + 8 * (65537 - 7)) +
             ": more than 65536 chunks, the rest is not read\n",
         1},
        // stream lists nested far deeper than any file needs
        {[&] {
             Bytes nested = goodStrl("vids");
             for (int i = 0; i < 40; ++i) nested = strl(nested);
             return avi(cat({good, nested}));
         }(),
         corrupt +
             "riff chunk at 272: list nested 8 deep, its children are not read\nstream[1]: strh missing in strl\n",
         1},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        AviParser p;
        EXPECT_EQ(parseBytes(cases[i].bytes, p), cases[i].streams >= 0) << "case " << i;
        EXPECT_EQ(p.errorText, cases[i].text) << "case " << i;
        if (cases[i].streams >= 0) {
            ASSERT_EQ(p.streams.size(), size_t(cases[i].streams)) << "case " << i;
            EXPECT_EQ(p.streams[0]->totalBytes(), 0u) << "no index: no frames";
        }
    }
}

TEST(AviParser, ParsesFromTheCurrentPositionAndStopsAfterTheFirstForm) {
    // Two forms back to back: the second (with a different stream count) is not walked.
    const Bytes first = avi(cat({avih(), goodStrl("vids")}));
    const Bytes second = list("RIFF", "AVIX", list("LIST", "movi", chunk("00dc", Bytes(3))));
    AviParser p;
    ASSERT_TRUE(parseBytes(cat({first, second}), p));
    EXPECT_EQ(p.chunks.size(), 1u);
    EXPECT_EQ(p.errorText, "");

    MemoryFile f(cat({Bytes(10, 0), first}));
    ASSERT_TRUE(f.seek(10));
    EXPECT_TRUE(p.parse(f));
    EXPECT_EQ(p.chunks.front().offset, 10);
}
