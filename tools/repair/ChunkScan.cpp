#include "ChunkScan.h"

#include <algorithm>
#include <array>

namespace repair {
namespace {

constexpr FourCC kRiff = makeFourCC("RIFF");
constexpr FourCC kList = makeFourCC("LIST");
constexpr FourCC kJunk = makeFourCC("JUNK");
constexpr FourCC kIdx1 = makeFourCC("idx1");
constexpr size_t kSearchPiece = 4096;

uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool isDigit(uint8_t c) { return c >= '0' && c <= '9'; }

bool isIndexId(FourCC id) {
    return (id & 0xFFFF) == (uint32_t('i') | uint32_t('x') << 8) && isDigit(uint8_t(id >> 16)) &&
           isDigit(uint8_t(id >> 24));
}

// The ids a walk may resume at.
bool isPlausibleId(FourCC id) {
    return isDataChunkId(id) || isIndexId(id) || id == kRiff || id == kList || id == kJunk || id == kIdx1;
}

std::string fourccText(FourCC id) {
    std::string s;
    for (int i = 0; i < 4; ++i) {
        const char c = char(id >> (8 * i));
        s += (c >= 32 && c < 127) ? c : '?';
    }
    return s;
}

class Scanner {
public:
    explicit Scanner(ByteSource& source) : m_source(source) { m_result.fileSize = source.size(); }

    ScanResult run() {
        uint64_t pos = 0;
        while (pos < m_result.fileSize) {
            if (m_result.fileSize - pos < 8) {
                cut(pos, "a chunk header (" + std::to_string(m_result.fileSize - pos) + " of 8 bytes)");
                break;
            }
            const uint64_t next = step(pos);
            if (next == 0) break;
            pos = next;
        }
        return std::move(m_result);
    }

private:
    // Handles the chunk at pos; returns the position after it, or 0 when the walk ends.
    uint64_t step(uint64_t pos) {
        std::array<uint8_t, 12> h{};
        const size_t got = m_source.read(pos, h.data(), h.size());
        if (got < 8) return cut(pos, "a chunk header");
        const FourCC id = le32(h.data());
        const uint32_t size = le32(h.data() + 4);
        const FourCC type = got >= 12 ? le32(h.data() + 8) : 0;
        if (id == kRiff && (type == makeFourCC("AVI ") || type == makeFourCC("AVIX"))) {
            m_result.forms.push_back({pos, type, size, 0});
            return pos + 12;
        }
        if (id == kList && (type == makeFourCC("movi") || type == makeFourCC("rec "))) return pos + 12;
        if (isDataChunkId(id)) return dataChunk(pos, id, size);
        if (id == kList || id == kJunk || id == kIdx1 || isIndexId(id)) return skipWhole(pos, id, type, size);
        return resync(pos);
    }

    uint64_t dataChunk(uint64_t pos, FourCC id, uint32_t size) {
        ScannedChunk c;
        c.id = id;
        c.size = size;
        c.dataOffset = pos + 8;
        c.form = m_result.forms.empty() ? 0 : uint32_t(m_result.forms.size() - 1);
        const uint64_t left = m_result.fileSize - c.dataOffset;
        c.available = static_cast<uint32_t>(std::min<uint64_t>(size, left));
        if (!c.whole() && insideWholeForm(pos)) {
            // The size field is damaged: more of the file follows this chunk's form.
            c.available = 0;
            m_result.chunks.push_back(c);
            note(pos, fourccText(id) + " chunk's size " + std::to_string(size) + " runs past its RIFF form");
            return resync(pos);
        }
        m_result.chunks.push_back(c);
        if (!m_result.forms.empty()) ++m_result.forms.back().dataChunks;
        if (!c.whole()) {
            cut(pos, fourccText(id) + " chunk (" + std::to_string(c.available) + " of " + std::to_string(size) +
                         " bytes)");
            return 0;
        }
        return c.dataOffset + size + (size & 1);
    }

    // True when the current form's size field says it ends after pos and within the
    // file: a chunk there that runs past the end has a damaged size field (a cut
    // recording's form claims more than the file holds, or nothing).
    bool insideWholeForm(uint64_t pos) const {
        if (m_result.forms.empty()) return false;
        const ScannedForm& f = m_result.forms.back();
        const uint64_t end = f.offset + 8 + f.declaredSize;
        return end > pos + 8 && end <= m_result.fileSize;
    }

    uint64_t skipWhole(uint64_t pos, FourCC id, FourCC type, uint32_t size) {
        const uint64_t end = pos + 8 + size + (size & 1);
        const std::string name = id == kList ? "LIST '" + fourccText(type) + "'" : fourccText(id) + " chunk";
        if (id == kJunk) m_result.junkBytes += 8 + uint64_t(size);
        if (id == kIdx1 || isIndexId(id)) ++m_result.indexChunks;
        if (pos + 8 + size <= m_result.fileSize) return end;
        if (!insideWholeForm(pos)) return cut(pos, name);
        note(pos, name + "'s size " + std::to_string(size) + " runs past its RIFF form");
        return resync(pos);
    }

    // Skips bytes that start no plausible chunk, up to the next one (or the end).
    uint64_t resync(uint64_t pos) {
        for (uint64_t at = pos + 1; at + 4 <= m_result.fileSize; at += kSearchPiece) {
            const size_t want = static_cast<size_t>(std::min<uint64_t>(kSearchPiece + 3, m_result.fileSize - at));
            if (m_piece.size() < want) m_piece.resize(kSearchPiece + 3);
            const size_t got = m_source.read(at, m_piece.data(), want);
            for (size_t i = 0; i + 4 <= got && i < kSearchPiece; ++i) {
                if (!isPlausibleId(le32(m_piece.data() + i))) continue;
                skipped(pos, at + i - pos);
                return at + i;
            }
            if (got < want) break;
        }
        skipped(pos, m_result.fileSize - pos);
        return 0;
    }

    void skipped(uint64_t pos, uint64_t bytes) {
        m_result.skippedBytes += bytes;
        note(pos, "skipped " + std::to_string(bytes) + " bytes that start no chunk");
    }

    uint64_t cut(uint64_t pos, const std::string& what) {
        m_result.endsInsideChunk = true;
        m_result.cutDescription = what + " at " + std::to_string(pos);
        note(pos, "the file ends inside " + what);
        return 0;
    }

    void note(uint64_t pos, std::string text) {
        if (m_result.notes.size() < kMaxScanNotes) m_result.notes.push_back({pos, std::move(text)});
    }

    ByteSource& m_source;
    ScanResult m_result;
    std::vector<uint8_t> m_piece;  // bytes searched while resynchronising
};

}  // namespace

bool isDataChunkId(FourCC id) {
    const uint8_t a = uint8_t(id), b = uint8_t(id >> 8), c = uint8_t(id >> 16), d = uint8_t(id >> 24);
    if (!isDigit(a) || !isDigit(b)) return false;
    return (c == 'd' && (d == 'c' || d == 'b')) || (c == 'w' && d == 'b') || (c == 't' && d == 'x') ||
           (c == 'p' && d == 'c');
}

int ScannedChunk::stream() const { return (int(uint8_t(id)) - '0') * 10 + (int(uint8_t(id >> 8)) - '0'); }

ScanResult scanChunks(ByteSource& source) { return Scanner(source).run(); }

}  // namespace repair
