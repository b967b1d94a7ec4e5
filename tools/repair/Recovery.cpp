#include "Recovery.h"

#include "StreamHeader.h"

namespace repair {
namespace {

constexpr size_t kMaxEvents = 200;

}  // namespace

Recovery::Recovery(ByteSource& source, const AviParser& parser, const ScanResult& scan)
    : m_source(source), m_scan(scan) {
    for (const auto& s : parser.streams) {
        RecoveredStream r;
        r.stream = s.get();
        const FourCC type = s->header.fccType;
        r.chunkType = type == makeFourCC("auds") ? makeFourCC("\0\0wb") : makeFourCC("\0\0dc");
        if (type == makeFourCC("vids")) r.layout = frameLayout(s->format);
        if (type == makeFourCC("auds")) r.blockAlign = audioBlockAlign(*s);
        if (s->number < 100) {
            if (m_byNumber.size() <= s->number) m_byNumber.resize(s->number + 1, -1);
            m_byNumber[s->number] = static_cast<int>(streams.size());
        }
        streams.push_back(r);
    }
    std::vector<bool> seen(streams.size(), false);
    for (const ScannedChunk& c : scan.chunks) {
        const int at = positionOf(c.stream());
        if (at < 0 || seen[size_t(at)]) continue;
        seen[size_t(at)] = true;
        streams[size_t(at)].chunkType = c.id & 0xFFFF0000u;
    }
}

int Recovery::positionOf(int number) const {
    return number >= 0 && size_t(number) < m_byNumber.size() ? m_byNumber[size_t(number)] : -1;
}

void Recovery::event(const ScannedChunk& chunk, const std::string& text) {
    if (events.size() < kMaxEvents)
        events.push_back("chunk " + std::to_string(chunk.stream()) + " at " + std::to_string(chunk.dataOffset - 8) +
                         ": " + text);
}

void Recovery::run(const Sink& sink, const Progress& progress, const FrameVerifier& verify) {
    for (const ScannedChunk& chunk : m_scan.chunks) {
        handle(chunk, sink, verify);
        if (progress) progress(chunk.dataOffset + chunk.available, m_scan.fileSize);
    }
}

void Recovery::handle(const ScannedChunk& chunk, const Sink& sink, const FrameVerifier& verify) {
    const int at = positionOf(chunk.stream());
    if (at < 0 || (chunk.id & 0xFFFF0000u) != streams[size_t(at)].chunkType) {
        ++droppedChunks;
        event(chunk, "no stream of the headers takes it; dropped");
        return;
    }
    RecoveredStream& s = streams[size_t(at)];
    const bool video = s.stream->header.fccType == makeFourCC("vids");
    uint32_t size = chunk.available;
    if (!video && !chunk.whole()) {
        const uint32_t block = s.blockAlign > 0 ? s.blockAlign : 1;
        size -= size % block;
        if (size == 0) {
            ++s.dropped;
            event(chunk, "cut to less than one sample frame; dropped");
            return;
        }
        ++s.trimmed;
        event(chunk, "cut; kept " + std::to_string(size) + " of " + std::to_string(chunk.size) + " bytes");
    }
    if (video && !chunk.whole()) {
        ++s.emptied;
        event(chunk, "frame cut (" + std::to_string(chunk.available) + " of " + std::to_string(chunk.size) +
                         " bytes); kept as an empty frame");
        sink(size_t(at), nullptr, 0);
        return;
    }
    m_buffer.resize(size);
    if (size != 0 && m_source.read(chunk.dataOffset, m_buffer.data(), size) != size) {
        ++droppedChunks;
        event(chunk, "cannot be read; dropped");
        return;
    }
    if (video && s.layout) {
        std::string fault = frameFault(m_buffer.data(), size, *s.layout);
        if (fault.empty() && verify && size > 0) fault = verify(size_t(at), m_buffer.data(), size);
        if (!fault.empty()) {
            ++s.emptied;
            event(chunk, "frame unsound (" + fault + "); kept as an empty frame");
            sink(size_t(at), nullptr, 0);
            return;
        }
    }
    ++s.kept;
    s.bytes += size;
    sink(size_t(at), m_buffer.data(), size);
}

}  // namespace repair
