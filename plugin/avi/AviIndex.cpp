#include "avi/AviIndex.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
#include <limits>

#include "avi/ByteReader.h"

namespace {

constexpr size_t kHeaderSize = 24;
constexpr size_t kSuperEntrySize = 16;
constexpr size_t kStdEntrySize = 8;
constexpr uint32_t kNotKeyFrame = 0x80000000u;
constexpr uint32_t kLegacyKeyFrame = 0x10;

void message(AviParser& parser, const AviStream& stream, const char* text, uint64_t value, const char* end = "\n") {
    parser.errorText += "stream[" + std::to_string(stream.number) + text + std::to_string(value) + end;
}

uint64_t availableAt(const AviParser& parser, uint64_t position) {
    return position < parser.fileSize() ? parser.fileSize() - position : 0;
}

// Reads up to `count` bytes at `position`, no further than the file goes; the
// bytes actually read are returned in `buffer`.
uint64_t readAt(AviParser& parser, uint64_t position, uint64_t count, std::vector<uint8_t>& buffer) {
    buffer.assign(std::min(count, availableAt(parser, position)), 0);
    if (buffer.empty() || position > uint64_t(std::numeric_limits<int64_t>::max()) ||
        !parser.file->seek(static_cast<int64_t>(position)))
        return 0;
    const uint64_t got = parser.file->read(buffer.data(), buffer.size());
    buffer.resize(got);
    return got;
}

// Copies the first min(declared, 24) bytes of an index chunk over a stored header;
// bytes the file did not give read as zero.
void copyHeader(std::array<uint8_t, kHeaderSize>& header, const std::vector<uint8_t>& data, uint64_t declared) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(declared, kHeaderSize));
    for (size_t i = 0; i < n; ++i) header[i] = i < data.size() ? data[i] : 0;
}

// Reads the standard index named by super index record j. False when the read
// budget is spent and the stream's remaining records are not worth reading.
bool readStandardIndex(AviParser& parser, AviStream& stream, size_t j, std::vector<uint8_t>& buffer) {
    const SuperIndexEntry& record = stream.superIndex[j];
    if (record.size < 8) return true;
    const uint64_t size = record.size - 8u;
    const uint64_t position = record.offset + 8u;
    if (std::min(size, availableAt(parser, position)) > parser.standardIndexBudget) {
        message(parser, stream, "]: std index (ix..) reads exceed the file size, stopped at: ", position);
        stream.odmlIndexComplete = false;
        return false;
    }
    const uint64_t got = readAt(parser, position, size, buffer);
    parser.standardIndexBudget -= got;
    if (got == 0) {
        parser.errorText += "stream[" + std::to_string(stream.number) +
                            "]: could not read standard index at: " + std::to_string(position) +
                            ", size: " + std::to_string(size) + "\n";
        stream.odmlIndexComplete = false;
        return true;
    }
    StandardIndex& index = stream.standardIndexes[j];
    copyHeader(index.header, buffer, size);
    if (index.longsPerEntry() != 2) {
        message(parser, stream,
                "]: std index (ix..) unexpected std index entry size (wLongsPerEntry): ", index.longsPerEntry());
        stream.odmlIndexComplete = false;
        return true;
    }
    const uint64_t present = got > kHeaderSize ? (got - kHeaderSize) / kStdEntrySize : 0;
    const uint64_t count = std::min<uint64_t>(present, index.entriesInUse());
    const avi::ByteReader r(buffer.data(), buffer.size());
    index.entries.resize(count);
    for (uint64_t k = 0; k < count; ++k) {
        const size_t at = kHeaderSize + k * kStdEntrySize;
        index.entries[k] = {r.u32(at), r.u32(at + 4)};
    }
    if (count != index.entriesInUse()) {
        message(parser, stream, "]: std index (ix..) chunk data is smaller than nEntriesInUse: ", index.entriesInUse());
        stream.odmlIndexComplete = false;
    }
    return true;
}

// Stream number of an idx1 chunk id: its first two characters as decimal digits, or -1.
int legacyStreamNumber(FourCC ckid) {
    const int c0 = int(ckid & 0xFF) - '0', c1 = int((ckid >> 8) & 0xFF) - '0';
    if (c0 < 0 || c0 > 9 || c1 < 0 || c1 > 9) return -1;
    return c0 * 10 + c1;
}

// One pass over idx1 for all streams (a stream number has at most one stream).
void buildLegacyFrames(AviParser& parser, const ChunkNode& movi) {
    std::array<AviStream*, 100> byNumber{};
    std::array<uint64_t, 100> counts{}, running{};
    for (auto& s : parser.streams)
        if (s->number < byNumber.size()) byNumber[s->number] = s.get();
    for (const LegacyIndexEntry& e : parser.legacyIndex) {
        const int n = legacyStreamNumber(e.ckid);
        if (n >= 0 && byNumber[n]) ++counts[n];
    }
    for (size_t n = 0; n < byNumber.size(); ++n)
        if (byNumber[n]) byNumber[n]->legacyFrames.reserve(counts[n]);
    const uint64_t base = uint64_t(movi.offset) + 16;
    for (const LegacyIndexEntry& e : parser.legacyIndex) {
        const int n = legacyStreamNumber(e.ckid);
        if (n < 0 || !byNumber[n]) continue;
        byNumber[n]->legacyFrames.push_back(
            {base + e.chunkOffset, running[n], e.chunkLength, (e.flags & kLegacyKeyFrame) != 0});
        running[n] += e.chunkLength;
    }
}

void buildOdmlFrames(AviStream& stream) {
    size_t total = 0;
    for (const StandardIndex& index : stream.standardIndexes) total += index.entries.size();
    stream.odmlFrames.reserve(total);
    uint64_t running = 0;
    for (StandardIndex& index : stream.standardIndexes) {
        const uint64_t base = index.baseOffset();
        for (const StandardIndexEntry& e : index.entries) {
            const uint32_t size = e.size & ~kNotKeyFrame;
            stream.odmlFrames.push_back({base + e.offset, running, size, (e.size & kNotKeyFrame) == 0});
            running += size;
        }
        index.entries.clear();
        index.entries.shrink_to_fit();
    }
}

}  // namespace

void readSuperIndex(AviParser& parser, const ChunkNode& indx, AviStream& stream) {
    stream.odmlIndexComplete = true;
    const uint64_t declared = indx.dataSize();
    std::vector<uint8_t> buffer;
    const uint64_t got = readAt(parser, uint64_t(indx.dataStart()), declared, buffer);
    copyHeader(stream.superIndexHeader.bytes, buffer, declared);
    const SuperIndexHeader& header = stream.superIndexHeader;
    if (header.longsPerEntry() != 4) {
        message(parser, stream,
                "]: super index (indx) unexpected super index entry size (wLongsPerEntry): ", header.longsPerEntry());
        stream.odmlIndexComplete = false;
        return;
    }
    const uint64_t present = got > kHeaderSize ? (got - kHeaderSize) / kSuperEntrySize : 0;
    const uint64_t count = std::min<uint64_t>(present, header.entriesInUse());
    const avi::ByteReader r(buffer.data(), buffer.size());
    stream.superIndex.resize(count);
    for (uint64_t j = 0; j < count; ++j) {
        const size_t at = kHeaderSize + j * kSuperEntrySize;
        stream.superIndex[j] = {r.u64(at), r.u32(at + 8), r.u32(at + 12)};
    }
    if (count != header.entriesInUse()) {
        message(parser, stream,
                "]: super index (indx) chunk data is smaller than nEntriesInUse: ", header.entriesInUse(), " \n");
        stream.odmlIndexComplete = false;
    }
    stream.standardIndexes.assign(count, StandardIndex{});
    for (size_t j = 0; j < count; ++j)
        if (!readStandardIndex(parser, stream, j, buffer)) break;
}

void buildFrameIndexes(AviParser& parser, const ChunkNode* movi) {
    try {
        if (movi) buildLegacyFrames(parser, *movi);
        parser.legacyIndex.clear();
        parser.legacyIndex.shrink_to_fit();
        for (auto& stream : parser.streams) buildOdmlFrames(*stream);
    } catch (const std::exception&) {
        // Out of memory: the streams keep what was built; parse itself does not fail.
    }
}
