#include "ClipCheck.h"

#include <cstdio>
#include <stdexcept>

#include "ByteSource.h"
#include "ChunkScan.h"
#include "Recovery.h"
#include "StreamHeader.h"
#include "avi/AviParser.h"
#include "avi/ByteReader.h"
#include "fileio/WinFile.h"
#include "norvik/norvik_common.h"
#include "streams/AudioInfo.h"

namespace norvikimport {

namespace {

constexpr std::size_t kBitmapHeader = 40;
constexpr FourCC kVideo = makeFourCC("vids");
constexpr FourCC kAudio = makeFourCC("auds");

std::string quoted(FourCC id) {
    std::string s = "'";
    for (int i = 0; i < 4; ++i) {
        const char c = char(id >> (8 * i));
        s += (c >= 32 && c < 127) ? c : '?';
    }
    return s + "'";
}

std::string utf8(const std::filesystem::path& p) {
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

// The codec library's own check of the Norvik block after the bitmap header.
void describeVideo(const AviStream& stream, CheckedStream& out) {
    const avi::ByteReader r(stream.format.data(), stream.format.size());
    out.codec = r.u32(16);
    if (stream.format.size() <= kBitmapHeader) {
        out.refusal = "its format is a bare bitmap header coded " + quoted(out.codec) + ", not Norvik";
        return;
    }
    norvik_library_init();
    std::uint32_t handle = 0;
    CodecFormat described{0, 0, NORVIK_FORM_EXTENDED, NORVIK_FORM_VERSION, 0, 0, 0, 0, 0};
    std::int32_t result = norvik_open(&handle);
    if (result == NORVIK_OK)
        result = norvik_decompress_query(handle, stream.format.data() + kBitmapHeader,
                                         static_cast<std::uint32_t>(stream.format.size() - kBitmapHeader), nullptr,
                                         &described);
    if (handle) norvik_close(handle);
    norvik_library_close();
    if (result == NORVIK_OK) {
        out.format = "Norvik " + std::to_string(described.width) + " x " + std::to_string(described.height);
        return;
    }
    const char* why = norvik_get_string(NORVIK_STR_ERROR, result);
    out.refusal = out.codec == makeFourCC("NRVK")
                      ? std::string("its Norvik stream format is invalid (") + (why ? why : "?") + ")"
                      : "it is coded with another codec, FourCC " + quoted(out.codec);
}

// The importer's audio rules (AudioInfo::init) decide; the text names the format.
void describeAudio(const AviStream& stream, CheckedStream& out) {
    AudioInfo info;
    const bool taken = info.init(stream) == 0;
    const WaveFormat& w = info.waveFormat;
    const bool isFloat = info.formatGuid().data1 == 3;
    char text[160];
    std::snprintf(text, sizeof text, "%s %u bit, %u channel(s), %u Hz, format tag 0x%04X",
                  isFloat ? "float" : info.formatGuid().data1 == 1 ? "PCM" : "coded", unsigned(w.wBitsPerSample),
                  unsigned(w.nChannels), unsigned(w.nSamplesPerSec), unsigned(w.wFormatTag));
    out.format = text;
    if (!taken)
        out.refusal = stream.format.size() < 16 ? std::string("its wave format is cut short")
                                                : "the importer takes only PCM (8, 16, 24, 32 bit) and 32-bit float "
                                                  "audio of up to 32 channels with a matching block size, not " +
                                                      out.format;
}

void describeIndexes(const AviStream& stream, CheckedStream& out) {
    out.idx1Entries = stream.legacyFrames.size();
    out.hasSuperIndex = !stream.superIndex.empty() || stream.superIndexHeader.entriesInUse() != 0;
    out.superIndexEntries = stream.superIndex.size();
    out.standardIndexes = stream.standardIndexes.size();
    out.odmlEntries = stream.odmlFrames.size();
    out.odmlComplete = stream.odmlIndexComplete;
    out.selectedIndex = stream.odmlIndexComplete ? "OpenDML" : stream.legacyFrames.empty() ? "none" : "idx1";
    out.playable = stream.frames().size();
    for (const FrameEntry& e : stream.frames()) out.emptyEntries += e.size == 0;
}

void countChunks(const AviStream& stream, const repair::ScanResult& scan, CheckedStream& out) {
    std::uint64_t bytes = 0;
    for (const repair::ScannedChunk& c : scan.chunks) {
        if (std::uint64_t(c.stream()) != stream.number) continue;
        if (c.whole()) ++out.wholeChunks;
        else out.cutChunk = true;
        bytes += c.available;
    }
    if (out.type != kAudio) return;
    const repair::StreamHeaderFields h = repair::streamHeaderFields(stream);
    const std::uint32_t block = repair::audioBlockAlign(stream);
    if (block == 0) return;
    out.audioClaimed = h.sampleSize ? std::uint64_t(h.length) * h.sampleSize / block : h.length;
    out.audioIndexed = stream.totalBytes() / block;
    out.audioFound = bytes / block;
}

void checkStreams(const AviParser& parser, repair::ByteSource& source, const repair::ScanResult& scan,
                  ClipCheck& check) {
    repair::Recovery recovery(source, parser, scan);
    recovery.run([](std::size_t, const std::uint8_t*, std::uint32_t) {});
    for (std::size_t i = 0; i < parser.streams.size(); ++i) {
        const AviStream& stream = *parser.streams[i];
        CheckedStream s;
        s.number = stream.number;
        s.type = stream.header.fccType;
        if (s.type == kVideo) describeVideo(stream, s);
        if (s.type == kAudio) describeAudio(stream, s);
        describeIndexes(stream, s);
        countChunks(stream, scan, s);
        s.recoverable = recovery.streams[i].kept;
        s.unsound = recovery.streams[i].emptied;
        check.streams.push_back(std::move(s));
    }
}

}  // namespace

ClipCheck checkClip(const std::filesystem::path& clip) {
    ClipCheck check;
    check.fileName = utf8(clip.filename());
    repair::FileSource source(utf8(clip));
    check.fileSize = source.size();
    const repair::ScanResult scan = repair::scanChunks(source);
    for (const repair::ScannedForm& f : scan.forms) {
        const std::uint64_t end = f.offset + 8 + f.declaredSize;
        check.forms.push_back({f.type, f.offset, end, end > check.fileSize});
    }
    check.cutDescription = scan.endsInsideChunk ? scan.cutDescription : std::string();
    check.skippedBytes = scan.skippedBytes;
    fileio::WinFile file;
    if (!file.open(utf8(clip).c_str(), fileio::Read | fileio::ShareRead))
        throw std::runtime_error("cannot open " + utf8(clip));
    AviParser parser;
    check.parsed = parser.parse(file);
    check.parserMessages = parser.errorText;
    if (check.parsed) checkStreams(parser, source, scan, check);
    return check;
}

const CheckedStream* videoStream(const ClipCheck& check) {
    for (const CheckedStream& s : check.streams)
        if (s.type == kVideo) return &s;
    return nullptr;
}

}  // namespace norvikimport
