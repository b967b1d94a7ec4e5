// Private state of AviWriter, shared by its source files.
#pragma once

#include <array>

#include "AviWriter.h"
#include "ByteSink.h"

namespace aviwriter {

constexpr uint32_t kNonKeyBit = 0x80000000u;

struct SuperEntry {
    uint64_t offset;    // file position of the ix## chunk header
    uint32_t size;      // its size including the 8-byte header
    uint32_t duration;  // chunks (video) or samples (audio) it covers
};

struct StreamState {
    StreamSetup setup;
    uint32_t chunkId = 0;           // "00dc", "01wb", ...
    uint64_t strhData = 0;          // file position of the strh data (0: omitted)
    uint64_t indxHeader = 0;        // file position of the indx chunk header (0: none)
    std::vector<uint64_t> offsets;  // data offset of every chunk
    std::vector<uint32_t> sizes;    // size of every chunk, kNonKeyBit when not a key frame
    size_t formFirstChunk = 0;      // first chunk of the current form
    size_t firstFormChunks = 0;     // chunks in the first form
    uint32_t largest = 0;
    uint64_t totalBytes = 0;
    std::vector<SuperEntry> supers;
};

struct AviWriter::Impl {
    Impl(const std::string& p, Options o) : out(p), options(std::move(o)), path(p) {}

    ByteSink out;
    Options options;
    std::string path;
    std::vector<StreamState> streams;
    bool started = false;  // headers written
    bool finished = false;
    uint64_t avihData = 0;
    uint64_t dmlhData = 0;
    uint64_t formHeader = 0;  // current RIFF header position
    uint64_t moviHeader = 0;  // current movi LIST header position
    uint64_t firstMoviHeader = 0;
    int formIndex = 0;
    bool moviHasContent = false;
    uint64_t recHeader = 0;  // open 'rec ' LIST (0: none)
    size_t recIdx1Entry = 0;
    std::vector<std::array<uint32_t, 4>> idx1;  // entries of the first form
    SuperEntry hugeIndex{0, 0, 0};              // written for Faults::hugeIndexAt

    // Headers (AviHeaders.cpp): hdrl, INFO and JUNK, then their completion by finish().
    void writeHeaders();
    void completeHeaders();
    void completeSuperIndex(StreamState& s);
    // Lists and chunks (AviWriter.cpp).
    void start();
    uint64_t beginList(uint32_t id, uint32_t type);
    void endList(uint64_t header, int64_t sizeDelta = 0);
    void startForm(bool first);
    void closeForm();
    void writeStandardIndex(StreamState& s);
    void writeIdx1();
    void writeHugeStandardIndex();
    void rollOverIfNeeded(uint64_t chunkBytes);
    void chunk(int stream, const void* data, uint32_t size, uint32_t declared, bool key, bool zero);
    StreamState& stream(int n);
};

}  // namespace aviwriter
