#include "avi/AviParser.h"

#include <algorithm>
#include <exception>
#include <new>

#include "avi/AviIndex.h"
#include "avi/ByteReader.h"

namespace {

constexpr FourCC kRiff = makeFourCC("RIFF");
constexpr FourCC kAvi = makeFourCC("AVI ");

}  // namespace

bool AviParser::readChunkData(const ChunkNode& node, void* buffer, uint64_t count) {
    if (!file || node.dataSize() < count) return false;
    if (!file->seek(node.dataStart())) return false;
    return file->read(buffer, count) == count;
}

std::vector<size_t> AviParser::streamsOfType(FourCC type) const {
    std::vector<size_t> positions;
    for (size_t i = 0; i < streams.size(); ++i)
        if (streams[i]->header.fccType == type) positions.push_back(i);
    return positions;
}

void AviParser::message(const std::string& text) {
    if (m_messagesDropped) return;
    if (errorText.size() + text.size() <= kMaxErrorText) {
        errorText += text;
    } else {
        errorText += "further messages dropped\n";
        m_messagesDropped = true;
    }
}

void AviParser::streamMessage(const AviStream& stream, const std::string& text) {
    message("stream[" + std::to_string(stream.number) + text);
}

void AviParser::reset(fileio::File& f) {
    file = &f;
    chunks.clear();
    errorText.clear();
    m_messagesDropped = false;
    mainHeader.fill(0);
    extendedHeader.fill(0);
    streams.clear();
    const int64_t size = f.size();
    m_fileSize = size > 0 ? static_cast<uint64_t>(size) : 0;
}

bool AviParser::checkSignature() {
    const int64_t start = file->tell();
    uint8_t signature[12] = {};
    file->read(signature, sizeof signature);
    const avi::ByteReader r(signature, sizeof signature);
    if (r.u32(0) != kRiff || r.u32(8) != kAvi) {
        message("file doesn't look like AVI (first 12 bytes is not 'RIFF'....'AVI ')");
        return false;
    }
    file->seek(start);
    return true;
}

bool AviParser::parse(fileio::File& f) {
    m_step = "starting";
    try {
        reset(f);
        return parseForm();
    } catch (const std::bad_alloc& e) {
        return failed("out of memory while ", e.what());
    } catch (const std::exception& e) {
        return failed("failed while ", e.what());
    } catch (...) {
        return failed("failed while ", "unknown exception");
    }
}

// Releases what was built (half-built indexes must not be used, and the memory is
// wanted back), then says what failed during which step. Does not throw.
bool AviParser::failed(const char* prefix, const char* cause) noexcept {
    streams.clear();
    chunks.clear();
    try {
        message(std::string(prefix) + m_step + ": " + cause + "\n");
    } catch (const std::exception&) {
        // Memory is short even with the streams released, so the text cannot be
        // built. parse still fails and the file is refused, only without the reason.
    }
    return false;
}

bool AviParser::parseForm() {
    m_step = "reading the signature";
    if (!checkSignature()) return false;
    m_step = "walking the chunk tree";
    const WalkRules rules{{kAvi, makeFourCC("hdrl"), makeFourCC("strl"), makeFourCC("odml")}, {kAvi}};
    WalkState walk;
    if (!readChunks(chunks, *file, m_fileSize, rules, walk))
        message("riff structure is corrupt or invalid\n" + walk.problems);
    if (chunks.empty()) {
        message("riff structure is empty\n");
        return false;
    }
    const ChunkNode& form = chunks.front();
    if (!form.isList() || form.listType != kAvi) {
        message("AVI chunk missing\n");
        return false;
    }
    const ChunkNode* hdrl = form.findChild(makeFourCC("hdrl"), true);
    if (!hdrl) {
        message("hdrl missing\n");
        return false;
    }
    m_step = "reading the header list and the OpenDML indexes";
    if (!parseHeaderList(*hdrl)) return false;
    m_step = "reading the legacy index";
    if (const ChunkNode* idx1 = form.findChild(makeFourCC("idx1"), false))
        readLegacyIndex(*this, *idx1, form.findChild(makeFourCC("movi"), true));
    return true;
}

bool AviParser::parseHeaderList(const ChunkNode& hdrl) {
    const ChunkNode* avih = hdrl.findChild(makeFourCC("avih"), false);
    if (!avih) {
        message("avih missing\n");
        return false;
    }
    if (!readChunkData(*avih, mainHeader.data(), mainHeader.size())) {
        message("avih data read error\n");
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
    std::array<uint8_t, StreamHeader::kSize> header{};
    if (!readChunkData(*strh, header.data(), header.size())) {
        streamMessage(stream, "]: strh data read error\n");
        return false;
    }
    stream.header = StreamHeader::decode(header.data());
    // The format is sized by its chunk only when the file can hold that much and
    // the size is one a format can have.
    const uint64_t formatSize = strf->dataSize();
    const uint64_t available = m_fileSize > uint64_t(strf->dataStart()) ? m_fileSize - uint64_t(strf->dataStart()) : 0;
    if (formatSize > std::min(available, kMaxFormatSize)) {
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
