#include "avi/AviParser.h"

#include <algorithm>
#include <exception>

#include "avi/AviIndex.h"
#include "avi/ByteReader.h"

namespace {

constexpr FourCC kRiff = makeFourCC("RIFF");
constexpr FourCC kAvi = makeFourCC("AVI ");
constexpr size_t kLegacyEntrySize = 16;
constexpr size_t kReadBlock = 64 * 1024;

}  // namespace

bool AviParser::readChunkData(const ChunkNode& node, void* buffer, uint64_t count) {
    if (!file || node.dataSize() < count) return false;
    if (!file->seek(node.dataStart())) return false;
    return file->read(buffer, count) == count;
}

std::vector<size_t> AviParser::streamsOfType(FourCC type) const {
    std::vector<size_t> positions;
    for (size_t i = 0; i < streams.size(); ++i)
        if (streams[i]->fccType() == type) positions.push_back(i);
    return positions;
}

void AviParser::streamMessage(const AviStream& stream, const char* text) {
    errorText += "stream[" + std::to_string(stream.number) + text;
}

void AviParser::reset(fileio::File& f) {
    file = &f;
    chunks.clear();
    errorText.clear();
    legacyIndex.clear();
    mainHeader.fill(0);
    extendedHeader.fill(0);
    streams.clear();
    const int64_t size = f.size();
    m_fileSize = size > 0 ? static_cast<uint64_t>(size) : 0;
    standardIndexBudget = 2 * m_fileSize;
}

bool AviParser::checkSignature() {
    const int64_t start = file->tell();
    uint8_t signature[12] = {};
    file->read(signature, sizeof signature);
    const avi::ByteReader r(signature, sizeof signature);
    if (r.u32(0) != kRiff || r.u32(8) != kAvi) {
        errorText += "file doesn't look like AVI (first 12 bytes is not 'RIFF'....'AVI ')";
        return false;
    }
    file->seek(start);
    return true;
}

bool AviParser::parse(fileio::File& f) {
    reset(f);
    if (!checkSignature()) return false;
    const WalkRules rules{{kAvi, makeFourCC("hdrl"), makeFourCC("strl"), makeFourCC("odml")}, {kAvi}};
    if (!readChunks(chunks, f, m_fileSize, rules)) errorText += "riff structure is corrupt or invalid\n";
    if (chunks.empty()) {
        errorText += "riff structure is empty\n";
        return false;
    }
    const ChunkNode& form = chunks.front();
    if (!form.isList() || form.listType != kAvi) {
        errorText += "AVI chunk missing\n";
        return false;
    }
    const ChunkNode* hdrl = form.findChild(makeFourCC("hdrl"), true);
    if (!hdrl) {
        errorText += "hdrl missing\n";
        return false;
    }
    if (!parseHeaderList(*hdrl)) return false;
    if (const ChunkNode* idx1 = form.findChild(makeFourCC("idx1"), false)) readLegacyIndex(*idx1);
    buildFrameIndexes(*this, form.findChild(makeFourCC("movi"), true));
    return true;
}

bool AviParser::parseHeaderList(const ChunkNode& hdrl) {
    const ChunkNode* avih = hdrl.findChild(makeFourCC("avih"), false);
    if (!avih) {
        errorText += "avih missing\n";
        return false;
    }
    if (!readChunkData(*avih, mainHeader.data(), mainHeader.size())) {
        errorText += "avih data read error\n";
        return false;
    }
    uint64_t number = 0;
    for (const ChunkNode& child : hdrl.children) {
        if (!child.isList()) continue;
        if (child.listType == makeFourCC("strl")) {
            auto stream = std::make_unique<AviStream>();
            stream->number = number++;
            if (parseStreamList(child, *stream)) streams.push_back(std::move(stream));
        } else if (child.listType == makeFourCC("odml")) {
            readExtendedHeader(child);
        }
    }
    return true;
}

bool AviParser::parseStreamList(const ChunkNode& strl, AviStream& stream) {
    const ChunkNode* strh = strl.findChild(makeFourCC("strh"), false);
    const ChunkNode* strf = strl.findChild(makeFourCC("strf"), false);
    if (!strh) {
        streamMessage(stream, "]: strh missing in strl\n");
        return false;
    }
    if (!strf) {
        streamMessage(stream, "]: strf missing in strl\n");
        return false;
    }
    if (!readChunkData(*strh, stream.header.data(), stream.header.size())) {
        streamMessage(stream, "]: strh data read error\n");
        return false;
    }
    // The format is sized by its chunk only when the file can hold that much.
    const uint64_t formatSize = strf->dataSize();
    const uint64_t available = m_fileSize > uint64_t(strf->dataStart()) ? m_fileSize - uint64_t(strf->dataStart()) : 0;
    if (formatSize > available) {
        streamMessage(stream, "]: strf data read error\n");
        return false;
    }
    stream.format.resize(formatSize);
    if (!readChunkData(*strf, stream.format.data(), formatSize)) {
        streamMessage(stream, "]: strf data read error\n");
        return false;
    }
    if (const ChunkNode* indx = strl.findChild(makeFourCC("indx"), false)) readSuperIndex(*this, *indx, stream);
    return true;
}

void AviParser::readExtendedHeader(const ChunkNode& odml) {
    const ChunkNode* dmlh = odml.findChild(makeFourCC("dmlh"), false);
    if (!dmlh || !file->seek(dmlh->dataStart())) return;
    file->read(extendedHeader.data(), std::min<uint64_t>(dmlh->dataSize(), extendedHeader.size()));
}

// Entries are taken from the bytes the file holds: a size field larger than the
// rest of the file does not size the index (the missing entries would read as
// zeros, which belong to no stream).
void AviParser::readLegacyIndex(const ChunkNode& idx1) {
    const uint64_t declared = idx1.dataSize();
    const uint64_t start = uint64_t(idx1.dataStart());
    const uint64_t available = m_fileSize > start ? std::min(declared, m_fileSize - start) : 0;
    try {
        legacyIndex.resize((available + kLegacyEntrySize - 1) / kLegacyEntrySize);
        std::vector<uint8_t> block;
        if (file->seek(idx1.dataStart())) {
            for (uint64_t done = 0; done < available;) {
                // Whole entries of zeros, filled as far as the read goes: a short
                // read or a partial last entry leaves zero bytes.
                const uint64_t want = std::min<uint64_t>(kReadBlock, available - done);
                block.assign((want + kLegacyEntrySize - 1) / kLegacyEntrySize * kLegacyEntrySize, 0);
                const uint64_t got = file->read(block.data(), want);
                const avi::ByteReader r(block.data(), block.size());
                for (uint64_t at = 0; at < block.size(); at += kLegacyEntrySize) {
                    LegacyIndexEntry& e = legacyIndex[(done + at) / kLegacyEntrySize];
                    e = {r.u32(at), r.u32(at + 4), r.u32(at + 8), r.u32(at + 12)};
                }
                if (got < want) break;
                done += got;
            }
        }
    } catch (const std::exception&) {
        legacyIndex.clear();
    }
    if (declared % kLegacyEntrySize != 0) errorText += "idx1 size is not a multiple of index entry size\n";
}
