#include "avi/AviIndex.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

#include "avi/ByteReader.h"
#include "avi/RegionReader.h"

namespace {

constexpr size_t kHeaderSize = 24;
constexpr size_t kSuperEntrySize = 16;
constexpr size_t kStdEntrySize = 8;
constexpr size_t kLegacyEntrySize = 16;
constexpr uint64_t kChunkHeaderSize = 8;
constexpr uint32_t kNotKeyFrame = 0x80000000u;
constexpr uint32_t kLegacyKeyFrame = 0x10;

void message(AviParser& parser, const AviStream& stream, const char* text, uint64_t value, const char* end = "\n") {
    parser.streamMessage(stream, text + std::to_string(value) + end);
}

// Appends to a list whose final size is not known, by half its size at a time:
// with the copy made while growing, an element never costs more than 2.5 times its size.
template <typename T>
void append(std::vector<T>& v, const T& item) {
    if (v.size() == v.capacity()) v.reserve(v.size() + v.size() / 2 + 16);
    v.push_back(item);
}

// The end of `count` bytes at `position`, without wrapping past the largest offset.
uint64_t endOf(uint64_t position, uint64_t count) {
    return count > std::numeric_limits<uint64_t>::max() - position ? std::numeric_limits<uint64_t>::max()
                                                                   : position + count;
}

// Reads the header of an index chunk whose data, `declared` bytes long, starts at
// `position`: the first min(declared, 24) bytes go over `header`, those the file
// does not give as zeros. Returns the bytes read.
uint64_t readIndexHeader(fileio::File& file, uint64_t position, uint64_t declared,
                         std::array<uint8_t, kHeaderSize>& header) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(declared, kHeaderSize));
    std::array<uint8_t, kHeaderSize> bytes{};
    uint64_t got = 0;
    if (n != 0 && position <= uint64_t(std::numeric_limits<int64_t>::max()) &&
        file.seek(static_cast<int64_t>(position)))
        got = file.read(bytes.data(), n);
    std::copy_n(bytes.begin(), n, header.begin());
    return got;
}

// One pass over a stream's standard indexes. Two are made: the first only counts
// the entries that will be kept, so that the frame index is allocated once at its
// final size (growing it would copy it, and while copied it costs twice as much);
// the second fills it and reports the problems.
struct OdmlPass {
    AviParser& parser;
    AviStream& stream;
    bool counting;
    uint64_t kept = 0;       // entries kept so far
    uint64_t byteStart = 0;  // of the next entry
    uint64_t lastChunk = 0;  // data offset named by the last entry kept

    void problem(const std::string& text) {
        if (counting) return;
        parser.streamMessage(stream, text);
        stream.odmlIndexComplete = false;
    }
};

// Takes the `count` entries at `start`. False when an entry breaks the file order:
// the stream's OpenDML index is not read further.
bool readEntries(OdmlPass& pass, uint64_t start, uint64_t count, uint64_t base) {
    avi::RegionReader reader(*pass.parser.file, start, count * kStdEntrySize, kStdEntrySize);
    while (const uint8_t* record = reader.next()) {
        const avi::ByteReader r(record, kStdEntrySize);
        const uint64_t chunk = base + r.u32(0);
        const uint32_t sizeField = r.u32(4);
        if (pass.kept != 0 && (chunk < pass.lastChunk || chunk - pass.lastChunk < kChunkHeaderSize)) {
            pass.problem("]: std index (ix..) entries out of file order at: " + std::to_string(reader.position()) +
                         "\n");
            return false;
        }
        const uint32_t size = sizeField & ~kNotKeyFrame;
        if (!pass.counting)
            pass.stream.odmlFrames.push_back({chunk, pass.byteStart, size, (sizeField & kNotKeyFrame) == 0});
        pass.kept += 1;
        pass.byteStart += size;
        pass.lastChunk = chunk;
    }
    return true;
}

// Reads the standard index named by super index record j. False when the rest of
// the stream's OpenDML index is not worth reading.
bool readStandardIndex(OdmlPass& pass, size_t j) {
    const SuperIndexEntry& record = pass.stream.superIndex[j];
    if (record.size < kChunkHeaderSize) return true;
    const uint64_t size = record.size - kChunkHeaderSize;
    const uint64_t position = endOf(record.offset, kChunkHeaderSize);
    StandardIndex& index = pass.stream.standardIndexes[j];
    if (readIndexHeader(*pass.parser.file, position, size, index.header) == 0) {
        pass.problem("]: could not read standard index at: " + std::to_string(position) +
                     ", size: " + std::to_string(size) + "\n");
        return true;
    }
    if (index.longsPerEntry() != 2) {
        pass.problem("]: std index (ix..) unexpected std index entry size (wLongsPerEntry): " +
                     std::to_string(index.longsPerEntry()) + "\n");
        return true;
    }
    const uint64_t fit = size > kHeaderSize ? (size - kHeaderSize) / kStdEntrySize : 0;
    const uint64_t count = std::min<uint64_t>(fit, index.entriesInUse());
    if (!readEntries(pass, endOf(position, kHeaderSize), count, index.baseOffset())) return false;
    if (count != index.entriesInUse())
        pass.problem("]: std index (ix..) chunk data is smaller than nEntriesInUse: " +
                     std::to_string(index.entriesInUse()) + "\n");
    return true;
}

void readStandardIndexes(AviParser& parser, AviStream& stream) {
    stream.standardIndexes.assign(stream.superIndex.size(), StandardIndex{});
    for (const bool counting : {true, false}) {
        OdmlPass pass{parser, stream, counting};
        for (size_t j = 0; j < stream.superIndex.size(); ++j)
            if (!readStandardIndex(pass, j)) break;
        if (counting) stream.odmlFrames.reserve(pass.kept);
    }
}

// Reads `count` super index records at `start`, each naming a standard index that
// starts at or after the end of the one before.
void readSuperRecords(AviParser& parser, AviStream& stream, uint64_t start, uint64_t count) {
    avi::RegionReader reader(*parser.file, start, count * kSuperEntrySize, kSuperEntrySize);
    uint64_t end = 0;
    while (const uint8_t* record = reader.next()) {
        const avi::ByteReader r(record, kSuperEntrySize);
        const SuperIndexEntry entry{r.u64(0), r.u32(8), r.u32(12)};
        if (!stream.superIndex.empty() && entry.offset < end) {
            message(parser, stream, "]: super index (indx) entries out of file order at: ", reader.position());
            stream.odmlIndexComplete = false;
            return;
        }
        append(stream.superIndex, entry);
        end = endOf(entry.offset, std::max<uint64_t>(entry.size, kChunkHeaderSize));
    }
}

// Stream number of an idx1 chunk id: its first two characters as decimal digits, or -1.
int legacyStreamNumber(FourCC ckid) {
    const int c0 = int(ckid & 0xFF) - '0', c1 = int((ckid >> 8) & 0xFF) - '0';
    if (c0 < 0 || c0 > 9 || c1 < 0 || c1 > 9) return -1;
    return c0 * 10 + c1;
}

// Calls take(stream number, record) for every idx1 record of a stream in byNumber.
template <typename Take>
void forEachLegacyEntry(AviParser& parser, const ChunkNode& idx1, const std::array<AviStream*, 100>& byNumber,
                        Take take) {
    avi::RegionReader reader(*parser.file, uint64_t(idx1.dataStart()), idx1.dataSize(), kLegacyEntrySize, true);
    while (const uint8_t* record = reader.next()) {
        const avi::ByteReader r(record, kLegacyEntrySize);
        // A record without a chunk id is where the index's data ends (a hole of a
        // sparse file, an index reserved but never written): none follow.
        if (r.u32(0) == 0) break;
        const int n = legacyStreamNumber(r.u32(0));
        if (n >= 0 && byNumber[n]) take(n, r);
    }
}

}  // namespace

void readSuperIndex(AviParser& parser, const ChunkNode& indx, AviStream& stream) {
    stream.odmlIndexComplete = true;
    const uint64_t declared = indx.dataSize();
    const uint64_t start = uint64_t(indx.dataStart());
    readIndexHeader(*parser.file, start, declared, stream.superIndexHeader.bytes);
    const SuperIndexHeader& header = stream.superIndexHeader;
    if (header.longsPerEntry() != 4) {
        message(parser, stream,
                "]: super index (indx) unexpected super index entry size (wLongsPerEntry): ", header.longsPerEntry());
        stream.odmlIndexComplete = false;
        return;
    }
    const uint64_t fit = declared > kHeaderSize ? (declared - kHeaderSize) / kSuperEntrySize : 0;
    const uint64_t count = std::min<uint64_t>(fit, header.entriesInUse());
    if (count != header.entriesInUse()) {
        message(parser, stream,
                "]: super index (indx) chunk data is smaller than nEntriesInUse: ", header.entriesInUse(), " \n");
        stream.odmlIndexComplete = false;
    }
    readSuperRecords(parser, stream, start + kHeaderSize, count);
    readStandardIndexes(parser, stream);
}

void readLegacyIndex(AviParser& parser, const ChunkNode& idx1, const ChunkNode* movi) {
    const uint64_t declared = idx1.dataSize();
    if (movi) {
        std::array<AviStream*, 100> byNumber{};
        for (auto& s : parser.streams)
            if (s->number < byNumber.size()) byNumber[s->number] = s.get();
        // Two passes, as for the OpenDML index: count, then fill frame indexes
        // allocated at their final sizes.
        std::array<uint64_t, 100> counts{};
        forEachLegacyEntry(parser, idx1, byNumber, [&](int n, const avi::ByteReader&) { ++counts[n]; });
        for (size_t n = 0; n < byNumber.size(); ++n)
            if (byNumber[n]) byNumber[n]->legacyFrames.reserve(counts[n]);
        const uint64_t base = uint64_t(movi->offset) + 16;
        std::array<uint64_t, 100> byteStart{};
        forEachLegacyEntry(parser, idx1, byNumber, [&](int n, const avi::ByteReader& r) {
            const uint32_t size = r.u32(12);
            byNumber[n]->legacyFrames.push_back(
                {base + r.u32(8), byteStart[n], size, (r.u32(4) & kLegacyKeyFrame) != 0});
            byteStart[n] += size;
        });
    }
    if (declared % kLegacyEntrySize != 0) parser.message("idx1 size is not a multiple of index entry size\n");
}
