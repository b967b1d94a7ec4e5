#include <filesystem>
#include <stdexcept>

#include "AviWriterImpl.h"

namespace aviwriter {
namespace {

constexpr uint32_t kListFlag = 0x01;  // idx1 flag of a LIST entry
constexpr uint32_t kKeyFlag = 0x10;   // idx1 flag of a key frame

uint64_t padded(uint64_t size) { return size + (size & 1); }

}  // namespace

AviWriter::AviWriter(const std::string& path, Options options)
    : m_impl(std::make_unique<Impl>(path, std::move(options))) {}

AviWriter::~AviWriter() = default;

int AviWriter::addStream(const StreamSetup& setup) {
    if (m_impl->started) throw std::runtime_error("AviWriter: streams must be added before the first chunk");
    if (m_impl->streams.size() >= 100) throw std::runtime_error("AviWriter: at most 100 streams");
    StreamState s;
    s.setup = setup;
    const int n = static_cast<int>(m_impl->streams.size());
    s.chunkId = uint32_t('0' + n / 10) | uint32_t('0' + n % 10) << 8 | uint32_t(uint8_t(setup.chunkType[0])) << 16 |
                uint32_t(uint8_t(setup.chunkType[1])) << 24;
    m_impl->streams.push_back(std::move(s));
    return n;
}

StreamState& AviWriter::Impl::stream(int n) {
    if (n < 0 || static_cast<size_t>(n) >= streams.size())
        throw std::runtime_error("AviWriter: unknown stream " + std::to_string(n));
    if (!started) start();
    return streams[static_cast<size_t>(n)];
}

uint64_t AviWriter::Impl::beginList(uint32_t id, uint32_t type) {
    const uint64_t header = out.position();
    out.putU32(id);
    out.putU32(0);  // completed by endList
    out.putU32(type);
    return header;
}

void AviWriter::Impl::endList(uint64_t header, int64_t sizeDelta) {
    const uint64_t size = out.position() - header - 8;
    if (size > 0xFFFFFFFFu) throw std::runtime_error("AviWriter: list larger than 4 GiB");
    out.patchU32(header + 4, static_cast<uint32_t>(static_cast<int64_t>(size) + sizeDelta));
}

void AviWriter::Impl::start() {
    started = true;
    startForm(true);
}

void AviWriter::Impl::startForm(bool first) {
    formHeader = beginList(makeFourCC("RIFF"), first ? makeFourCC("AVI ") : makeFourCC("AVIX"));
    if (first) writeHeaders();
    moviHeader = beginList(makeFourCC("LIST"), makeFourCC("movi"));
    if (first) firstMoviHeader = moviHeader;
    moviHasContent = false;
    for (auto& s : streams) s.formFirstChunk = s.offsets.size();
}

void AviWriter::Impl::writeStandardIndex(StreamState& s) {
    const size_t first = s.formFirstChunk, count = s.offsets.size() - first;
    if (count == 0) return;
    const Faults& f = options.faults;
    const uint64_t base = moviHeader;
    const uint64_t header = out.position();
    const uint32_t n = static_cast<uint32_t>(s.chunkId & 0xFFFF);
    out.putU32(makeFourCC("ix\0\0") | n << 16);
    out.putU32(static_cast<uint32_t>(24 + 8 * count));
    out.putU16(f.stdLongsPerEntry);
    out.put("\0\1", 2);  // bIndexSubType 0, bIndexType 1 (index of chunks)
    out.putU32(static_cast<uint32_t>(count) + f.stdExtraEntries);
    out.putU32(s.chunkId);
    out.putU64(base + static_cast<uint64_t>(f.stdBaseOffsetDelta));
    out.putU32(0);
    uint64_t duration = 0;
    for (size_t i = first; i < s.offsets.size(); ++i) {
        out.putU32(static_cast<uint32_t>(s.offsets[i] - base));
        out.putU32(s.sizes[i]);
        duration += s.sizes[i] & ~kNonKeyBit;
    }
    if (s.setup.fccType != makeFourCC("auds") || s.setup.sampleSize == 0)
        duration = count;
    else
        duration /= s.setup.sampleSize;
    if (s.supers.size() >= options.superIndexSlots)
        throw std::runtime_error("AviWriter: more standard indexes than super index slots");
    s.supers.push_back({header, static_cast<uint32_t>(32 + 8 * count), static_cast<uint32_t>(duration)});
}

void AviWriter::Impl::writeIdx1() {
    out.putU32(makeFourCC("idx1"));
    const uint32_t extra = options.faults.idx1ExtraBytes;
    out.putU32(static_cast<uint32_t>(16 * idx1.size()) + extra);
    for (const auto& e : idx1)
        for (uint32_t v : e) out.putU32(v);
    out.zeros(padded(extra), false);
}

void AviWriter::Impl::writeHugeStandardIndex() {
    StreamState& s = streams.at(0);
    const uint64_t at = options.faults.hugeIndexAt;
    if (at < out.position()) throw std::runtime_error("AviWriter: hugeIndexAt lies inside the file");
    out.zeros(at - out.position(), options.sparse);
    constexpr uint32_t size = 0xFFFFFFF0u;  // data bytes of the chunk
    const uint64_t base = s.offsets.empty() ? 0 : s.offsets.front() - 8;
    out.putU32(makeFourCC("ix\0\0") | (s.chunkId & 0xFFFF) << 16);
    out.putU32(size);
    out.putU16(2);
    out.put("\0\1", 2);
    out.putU32((size - 24) / 8);
    out.putU32(s.chunkId);
    out.putU64(base);
    out.putU32(0);
    for (size_t i = 0; i < s.offsets.size(); ++i) {
        out.putU32(static_cast<uint32_t>(s.offsets[i] - base));
        out.putU32(s.sizes[i]);
    }
    out.zeros(size - 24 - 8 * uint64_t(s.offsets.size()), options.sparse);
    hugeIndex = {at, size + 8, static_cast<uint32_t>(s.offsets.size())};
}

void AviWriter::Impl::closeForm() {
    if (options.openDml)
        for (auto& s : streams) writeStandardIndex(s);
    const bool first = formIndex == 0;
    endList(moviHeader, first ? options.faults.moviSizeDelta : 0);
    if (first) {
        for (auto& s : streams) s.firstFormChunks = s.offsets.size();
        if (options.idx1) writeIdx1();
    }
    endList(formHeader, first ? options.faults.riffSizeDelta : 0);
    ++formIndex;
}

void AviWriter::Impl::rollOverIfNeeded(uint64_t chunkBytes) {
    if (!options.openDml || recHeader != 0 || !moviHasContent) return;
    uint64_t indexBytes = 0;
    for (const auto& s : streams) indexBytes += 32 + 8 * (s.offsets.size() - s.formFirstChunk + 1);
    if (formIndex == 0 && options.idx1) indexBytes += 8 + 16 * (idx1.size() + 1);
    const uint64_t limit = std::min<uint64_t>(options.riffLimit, 0xFFFF0000u);
    if (out.position() - formHeader + chunkBytes + indexBytes <= limit) return;
    closeForm();
    startForm(false);
}

void AviWriter::Impl::chunk(int n, const void* data, uint32_t size, uint32_t declared, bool key, bool zero) {
    StreamState& s = stream(n);
    rollOverIfNeeded(8 + padded(size));
    const uint64_t header = out.position();
    if (formIndex == 0 && options.idx1)
        idx1.push_back({s.chunkId, key ? kKeyFlag : 0u, static_cast<uint32_t>(header - firstMoviHeader - 8), size});
    s.offsets.push_back(header + 8);
    s.sizes.push_back(size | (key ? 0u : kNonKeyBit));
    s.largest = std::max(s.largest, size);
    s.totalBytes += size;
    out.putU32(s.chunkId);
    out.putU32(declared);
    if (zero)
        out.zeros(size, options.sparse);
    else
        out.put(data, size);
    if (size & 1) out.put("", 1);
    moviHasContent = true;
}

void AviWriter::writeChunk(int stream, const void* data, uint32_t size, bool keyFrame) {
    m_impl->chunk(stream, data, size, size, keyFrame, false);
}

void AviWriter::writeChunk(int stream, const std::vector<uint8_t>& data, bool keyFrame) {
    m_impl->chunk(stream, data.data(), static_cast<uint32_t>(data.size()), static_cast<uint32_t>(data.size()), keyFrame,
                  false);
}

void AviWriter::writeZeroChunk(int stream, uint32_t size, bool keyFrame) {
    m_impl->chunk(stream, nullptr, size, size, keyFrame, true);
}

void AviWriter::writeChunkWithSizeField(int stream, const void* data, uint32_t size, uint32_t declaredSize) {
    m_impl->chunk(stream, data, size, declaredSize, true, false);
}

void AviWriter::writeJunk(uint32_t size) {
    Impl& w = *m_impl;
    if (!w.started) w.start();
    w.rollOverIfNeeded(8 + padded(size));
    w.out.putU32(makeFourCC("JUNK"));
    w.out.putU32(size);
    w.out.zeros(padded(size), w.options.sparse);
    w.moviHasContent = true;
}

void AviWriter::beginRec() {
    Impl& w = *m_impl;
    if (!w.started) w.start();
    if (w.recHeader != 0) throw std::runtime_error("AviWriter: rec lists do not nest");
    w.rollOverIfNeeded(12);
    w.recHeader = w.beginList(makeFourCC("LIST"), makeFourCC("rec "));
    w.recIdx1Entry = w.idx1.size();
    if (w.formIndex == 0 && w.options.idx1)
        w.idx1.push_back(
            {makeFourCC("rec "), kListFlag, static_cast<uint32_t>(w.recHeader - w.firstMoviHeader - 8), 0});
    w.moviHasContent = true;
}

void AviWriter::endRec() {
    Impl& w = *m_impl;
    if (w.recHeader == 0) throw std::runtime_error("AviWriter: endRec without beginRec");
    w.endList(w.recHeader);
    if (w.recIdx1Entry < w.idx1.size() && w.idx1[w.recIdx1Entry][0] == makeFourCC("rec "))
        w.idx1[w.recIdx1Entry][3] = static_cast<uint32_t>(w.out.position() - w.recHeader - 8);
    w.recHeader = 0;
}

void AviWriter::finish() {
    Impl& w = *m_impl;
    if (w.finished) throw std::runtime_error("AviWriter: finished twice");
    if (!w.started) w.start();
    if (w.recHeader != 0) endRec();
    w.closeForm();
    if (w.options.faults.hugeIndexAt != 0) w.writeHugeStandardIndex();
    w.completeHeaders();
    w.out.close();
    w.finished = true;
    if (w.options.faults.truncateAt != 0)
        std::filesystem::resize_file(std::filesystem::path(reinterpret_cast<const char8_t*>(w.path.c_str())),
                                     w.options.faults.truncateAt);
}

uint64_t AviWriter::chunkOffset(int stream, size_t n) const {
    return m_impl->streams.at(static_cast<size_t>(stream)).offsets.at(n);
}

size_t AviWriter::chunkCount(int stream) const {
    return m_impl->streams.at(static_cast<size_t>(stream)).offsets.size();
}

}  // namespace aviwriter
