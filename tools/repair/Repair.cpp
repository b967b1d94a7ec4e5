#include "Repair.h"

#include <stdexcept>
#include <system_error>

#include "AviWriter.h"
#include "StreamHeader.h"
#include "fileio/WinFile.h"

namespace repair {
namespace {

namespace fs = std::filesystem;

std::string utf8(const fs::path& p) {
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

void refuseSameFile(const fs::path& in, const fs::path& out) {
    std::error_code ec;
    if (fs::exists(out, ec) && fs::equivalent(in, out, ec))
        throw std::runtime_error("OUT is the same file as IN; IN is only read, give another OUT");
}

// The first line of the parser's messages.
std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

// Removes the temporary file unless the repair completed.
class TemporaryFile {
public:
    explicit TemporaryFile(fs::path path) : m_path(std::move(path)) {}
    ~TemporaryFile() {
        std::error_code ec;
        if (!m_kept) fs::remove(m_path, ec);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const fs::path& path() const { return m_path; }
    void renameTo(const fs::path& target) {
        fs::rename(m_path, target);
        m_kept = true;
    }

private:
    fs::path m_path;
    bool m_kept = false;
};

uint32_t microSecPerFrame(const AviParser& parser) {
    const auto& h = parser.mainHeader;
    return uint32_t(h[0]) | uint32_t(h[1]) << 8 | uint32_t(h[2]) << 16 | uint32_t(h[3]) << 24;
}

RepairSummary summarize(const ScanResult& scan, const Recovery& recovery) {
    RepairSummary s;
    s.formsRead = scan.forms.size();
    s.skippedBytes = scan.skippedBytes;
    s.junkBytes = scan.junkBytes;
    s.droppedChunks = recovery.droppedChunks;
    s.cutDescription = scan.endsInsideChunk ? scan.cutDescription : std::string();
    for (const RecoveredStream& r : recovery.streams)
        s.streams.push_back({r.stream->header.fccType, r.kept, r.emptied, r.trimmed, r.dropped, r.bytes});
    s.events = recovery.events;
    return s;
}

}  // namespace

RepairSummary repairFile(const fs::path& in, const fs::path& out, const RepairOptions& options) {
    refuseSameFile(in, out);
    FileSource source(utf8(in));
    fileio::WinFile headerFile;
    if (!headerFile.open(utf8(in).c_str(), fileio::Read | fileio::ShareRead))
        throw std::runtime_error("cannot open " + utf8(in));
    AviParser parser;
    if (!parser.parse(headerFile)) throw std::runtime_error("the headers cannot be read: " + firstLine(parser.errorText));
    if (parser.streams.empty()) throw std::runtime_error("the headers describe no stream");
    const ScanResult scan = scanChunks(source);
    Recovery recovery(source, parser, scan);
    if (scan.chunks.empty())
        throw std::runtime_error(scan.endsInsideChunk ? "no data chunk lies before the end of the file, which cuts " +
                                                            scan.cutDescription
                                                      : "the file holds no data chunk");

    TemporaryFile temporary(fs::path(out).concat(".repair-part"));
    aviwriter::Options writerOptions;
    writerOptions.microSecPerFrame = microSecPerFrame(parser);
    writerOptions.riffLimit = options.riffLimit;
    writerOptions.superIndexSlots = 4096;
    {
        aviwriter::AviWriter writer(utf8(temporary.path()), writerOptions);
        for (const RecoveredStream& r : recovery.streams) {
            aviwriter::StreamSetup setup = streamSetupFrom(*r.stream);
            setup.chunkType[0] = char(r.chunkType >> 16);
            setup.chunkType[1] = char(r.chunkType >> 24);
            writer.addStream(setup);
        }
        recovery.run([&](size_t stream, const uint8_t* data, uint32_t size) {
            writer.writeChunk(static_cast<int>(stream), data, size);
        }, options.progress, options.makeVerifier ? options.makeVerifier(recovery.streams) : Recovery::FrameVerifier());
        writer.finish();
    }
    temporary.renameTo(out);
    return summarize(scan, recovery);
}

std::string summaryText(const RepairSummary& s) {
    std::string t = "read " + std::to_string(s.formsRead) + " RIFF form(s)";
    if (!s.cutDescription.empty()) t += "; the file ends inside " + s.cutDescription;
    t += "\n";
    if (s.skippedBytes) t += "skipped " + std::to_string(s.skippedBytes) + " bytes that start no chunk\n";
    if (s.junkBytes) t += "stepped over " + std::to_string(s.junkBytes) + " bytes of JUNK\n";
    for (size_t i = 0; i < s.streams.size(); ++i) {
        const StreamSummary& r = s.streams[i];
        const bool video = r.type == makeFourCC("vids");
        t += "stream " + std::to_string(i) + (video ? " (video): " : " (audio): ");
        t += std::to_string(r.kept) + (video ? " frames recovered" : " chunks recovered");
        t += " (" + std::to_string(r.bytes) + " bytes)";
        if (r.emptied) t += ", " + std::to_string(r.emptied) + " cut or damaged frame(s) kept as empty frames";
        if (r.trimmed) t += ", " + std::to_string(r.trimmed) + " cut chunk(s) kept to whole sample frames";
        if (r.dropped) t += ", " + std::to_string(r.dropped) + " chunk(s) dropped";
        t += "\n";
    }
    if (s.droppedChunks) t += std::to_string(s.droppedChunks) + " chunk(s) of no stream dropped\n";
    for (const std::string& e : s.events) t += "  " + e + "\n";
    return t;
}

}  // namespace repair
