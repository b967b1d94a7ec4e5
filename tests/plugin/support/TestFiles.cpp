#include "TestFiles.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <sstream>

#include "fileio/WinFile.h"

namespace avitest {

bool MemoryFile::seek(int64_t offset) {
    if (offset < 0) return false;
    m_position = offset;
    return true;
}

uint64_t MemoryFile::read(void* buffer, uint64_t count) {
    const uint64_t pos = static_cast<uint64_t>(m_position);
    if (pos >= m_data.size()) return 0;
    const uint64_t n = std::min<uint64_t>(count, m_data.size() - pos);
    if (n != 0) std::memcpy(buffer, m_data.data() + pos, n);
    m_position += static_cast<int64_t>(n);
    return n;
}

bool canMakeSparseFiles(const std::filesystem::path& dir) {
    // Made the way the AVI writer leaves holes: a write past the end of the file.
    // What it took is read from the free space, the one measure every platform
    // (Wine included) gives; other programs writing at the same time can only make
    // the hole look taken, which skips a test rather than filling a disk.
    const auto probe = dir / "sparse-probe";
    std::error_code error;
    const auto before = std::filesystem::space(dir, error).available;
    bool written = false;
    {
        fileio::WinFile file;
        const uint8_t last = 1;
        written = !error && file.open(utf8(probe).c_str(), fileio::Write | fileio::Read) &&
                  file.writeAt(&last, 1, (int64_t(1) << 30) - 1) == 1;
    }
    const auto after = std::filesystem::space(dir, error).available;
    std::filesystem::remove(probe, error);
    return written && after + (uint64_t(256) << 20) > before;
}

std::vector<std::vector<uint64_t>> writeClip(const std::filesystem::path& path, aviwriter::Options options, int frames,
                                             aviwriter::StreamSetup video) {
    aviwriter::AviWriter w(utf8(path), options);
    w.addVideoStream(video);
    w.addAudioStream(aviwriter::pcmAudioStream(2, 48000, 16));
    for (int k = 0; k < frames; ++k) {
        w.writeChunk(0, Bytes(100 + k, uint8_t(k)), k % 3 == 0);
        w.writeChunk(1, Bytes(64, 1));
    }
    w.finish();
    std::vector<std::vector<uint64_t>> offsets(2);
    for (int s = 0; s < 2; ++s)
        for (size_t n = 0; n < w.chunkCount(s); ++n) offsets[s].push_back(w.chunkOffset(s, n));
    return offsets;
}

Clip clipOf(aviwriter::Options options, int frames, aviwriter::StreamSetup video) {
    TempDir dir;
    Clip clip;
    clip.offsets = writeClip(dir.path() / "clip.avi", options, frames, video);
    const std::string bytes = hosttest::readFile(dir.path() / "clip.avi");
    clip.bytes.assign(bytes.begin(), bytes.end());
    return clip;
}

std::string describe(const std::vector<FrameEntry>& frames) {
    std::ostringstream s;
    s << "frames " << frames.size() << ":";
    for (const FrameEntry& f : frames) s << ' ' << f.offset << '/' << f.size << '/' << f.byteStart << '/' << f.keyFrame;
    return s.str();
}

std::string describe(const AviParser& p, bool ok) {
    std::ostringstream s;
    s << "ok=" << ok << " text=" << p.errorText << " streams=" << p.streams.size() << "\n";
    for (const auto& st : p.streams) {
        s << "number=" << st->number << " format=" << st->format.size() << " odml=" << st->odmlIndexComplete
          << " super=" << st->superIndex.size();
        const StreamHeader& h = st->header;
        for (uint32_t v : {h.fccType, h.fccHandler, h.flags, uint32_t(h.priority), uint32_t(h.language),
                           h.initialFrames, h.scale, h.rate, h.start, h.length, h.suggestedBufferSize, h.quality,
                           h.sampleSize})
            s << ' ' << v;
        for (int16_t v : {h.frameLeft, h.frameTop, h.frameRight, h.frameBottom}) s << ' ' << v;
        for (const auto* frames : {&st->legacyFrames, &st->odmlFrames}) s << "\n" << describe(*frames);
        s << "\n";
    }
    return s.str();
}

bool parseBytes(const Bytes& bytes, AviParser& parser) {
    MemoryFile memory(bytes);
    return parser.parse(memory);
}

bool parseFile(const std::filesystem::path& path, AviParser& parser) {
    fileio::WinFile native;
    EXPECT_TRUE(native.open(utf8(path).c_str(), fileio::Read | fileio::ShareRead));
    return parser.parse(native);
}

}  // namespace avitest
