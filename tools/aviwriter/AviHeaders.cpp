// Header lists of the first form (hdrl, INFO, JUNK), their completion once every
// chunk is known, and the stream descriptions offered to callers.
#include <stdexcept>

#include "AviWriterImpl.h"

namespace aviwriter {
namespace {

constexpr uint32_t kAvihHasIndex = 0x10;
constexpr uint32_t kAvihIsInterleaved = 0x100;
constexpr uint32_t kDmlhSize = 248;

void putLE(std::vector<uint8_t>& v, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) v.push_back(i < 8 ? uint8_t(value >> (8 * i)) : 0);
}

uint32_t getLE(const std::vector<uint8_t>& v, size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes && at + i < v.size(); ++i) value |= uint32_t(v[at + i]) << (8 * i);
    return value;
}

// The 56-byte stream header of a stream as far as it is known.
std::vector<uint8_t> streamHeader(const StreamState& s) {
    const StreamSetup& p = s.setup;
    uint64_t length = s.offsets.size();
    if (p.length >= 0)
        length = static_cast<uint64_t>(p.length);
    else if (p.fccType == makeFourCC("auds") && p.sampleSize != 0)
        length = s.totalBytes / p.sampleSize;
    std::vector<uint8_t> h;
    putLE(h, p.fccType, 4);
    putLE(h, p.fccHandler, 4);
    putLE(h, p.flags, 4);
    putLE(h, p.priority, 2);
    putLE(h, p.language, 2);
    putLE(h, p.initialFrames, 4);
    putLE(h, p.scale, 4);
    putLE(h, p.rate, 4);
    putLE(h, p.start, 4);
    putLE(h, length, 4);
    putLE(h, p.suggestedBufferSize != 0 ? p.suggestedBufferSize : s.largest, 4);
    putLE(h, p.quality, 4);
    putLE(h, p.sampleSize, 4);
    for (int16_t v : p.frame) putLE(h, static_cast<uint16_t>(v), 2);
    return h;
}

}  // namespace

void AviWriter::Impl::writeHeaders() {
    const uint64_t hdrl = beginList(makeFourCC("LIST"), makeFourCC("hdrl"));
    out.putU32(makeFourCC("avih"));
    out.putU32(56);
    avihData = out.position();
    out.zeros(56, false);  // completed by completeHeaders
    for (auto& s : streams) {
        const uint64_t strl = beginList(makeFourCC("LIST"), makeFourCC("strl"));
        if (!s.setup.omitStrh) {
            out.putU32(makeFourCC("strh"));
            out.putU32(56);
            s.strhData = out.position();
            out.zeros(56, false);
        }
        if (!s.setup.omitStrf) {
            out.putU32(makeFourCC("strf"));
            out.putU32(static_cast<uint32_t>(s.setup.format.size()));
            out.put(s.setup.format.data(), s.setup.format.size());
            if (s.setup.format.size() & 1) out.put("", 1);
        }
        if (options.openDml) {
            s.indxHeader = out.position();
            out.putU32(makeFourCC("indx"));
            out.putU32(24 + 16 * options.superIndexSlots);
            out.zeros(24 + 16 * uint64_t(options.superIndexSlots), false);
        }
        endList(strl);
    }
    if (options.openDml) {
        const uint64_t odml = beginList(makeFourCC("LIST"), makeFourCC("odml"));
        out.putU32(makeFourCC("dmlh"));
        out.putU32(kDmlhSize);
        dmlhData = out.position();
        out.zeros(kDmlhSize, false);
        endList(odml);
    }
    endList(hdrl);
    if (!options.infoSoftware.empty()) {
        const uint64_t info = beginList(makeFourCC("LIST"), makeFourCC("INFO"));
        const uint32_t size = static_cast<uint32_t>(options.infoSoftware.size() + 1);
        out.putU32(makeFourCC("ISFT"));
        out.putU32(size);
        out.put(options.infoSoftware.c_str(), size);
        if (size & 1) out.put("", 1);
        endList(info);
    }
    if (options.junkAfterHeader != 0) {
        out.putU32(makeFourCC("JUNK"));
        out.putU32(options.junkAfterHeader);
        out.zeros(options.junkAfterHeader + (options.junkAfterHeader & 1), false);
    }
}

void AviWriter::Impl::completeHeaders() {
    const StreamState* video = nullptr;
    uint32_t largest = 0;
    for (const auto& s : streams) {
        if (!video && s.setup.fccType == makeFourCC("vids")) video = &s;
        largest = std::max(largest, s.largest);
    }
    std::vector<uint8_t> avih;
    putLE(avih, options.microSecPerFrame, 4);
    putLE(avih, 0, 4);  // dwMaxBytesPerSec
    putLE(avih, 0, 4);  // dwPaddingGranularity
    putLE(avih, (options.idx1 ? kAvihHasIndex : 0) | kAvihIsInterleaved, 4);
    putLE(avih, video ? video->firstFormChunks : 0, 4);  // dwTotalFrames of the first form
    putLE(avih, 0, 4);                                   // dwInitialFrames
    putLE(avih, streams.size(), 4);
    putLE(avih, largest, 4);
    putLE(avih, video ? getLE(video->setup.format, 4, 4) : 0, 4);  // dwWidth
    putLE(avih, video ? getLE(video->setup.format, 8, 4) : 0, 4);  // dwHeight
    avih.resize(56, 0);
    out.patch(avihData, avih.data(), avih.size());
    if (dmlhData != 0) out.patchU32(dmlhData, video ? static_cast<uint32_t>(video->offsets.size()) : 0);
    for (auto& s : streams) {
        if (s.strhData != 0) {
            const auto h = streamHeader(s);
            out.patch(s.strhData, h.data(), h.size());
        }
        if (s.indxHeader != 0) completeSuperIndex(s);
    }
}

void AviWriter::Impl::completeSuperIndex(StreamState& s) {
    const Faults& f = options.faults;
    const bool huge = &s == &streams.front() && hugeIndex.offset != 0;
    const std::vector<SuperEntry> supers = huge ? std::vector<SuperEntry>{hugeIndex} : s.supers;
    std::vector<uint8_t> v;
    putLE(v, f.superLongsPerEntry, 2);
    putLE(v, 0, 1);  // bIndexSubType
    putLE(v, 0, 1);  // bIndexType: index of indexes
    putLE(v, supers.size() + f.superExtraEntries, 4);
    putLE(v, s.chunkId, 4);
    putLE(v, 0, 12);
    for (size_t i = 0; i < supers.size(); ++i) {
        SuperEntry e = supers[f.superRepeatsFirst ? 0 : i];
        if (i == 0 && f.superSmallSize) e.size = 4;
        if (i == 0 && f.superOffsetPastEnd) e.offset = out.position() + 4096;
        if (i == 0 && f.superPointsToIndx) e.offset = s.indxHeader;
        putLE(v, e.offset, 8);
        putLE(v, e.size, 4);
        putLE(v, e.duration, 4);
    }
    out.patch(s.indxHeader + 8, v.data(), v.size());
}

StreamSetup videoStream(uint32_t compression, int32_t width, int32_t height, uint32_t rate, uint32_t scale,
                        uint16_t bitCount, const std::vector<uint8_t>& extra) {
    StreamSetup s;
    s.fccType = makeFourCC("vids");
    s.fccHandler = compression;
    s.rate = rate;
    s.scale = scale;
    s.frame[2] = static_cast<int16_t>(width);
    s.frame[3] = static_cast<int16_t>(height < 0 ? -height : height);
    auto& f = s.format;
    putLE(f, 40 + extra.size(), 4);  // biSize
    putLE(f, static_cast<uint32_t>(width), 4);
    putLE(f, static_cast<uint32_t>(height), 4);
    putLE(f, 1, 2);  // biPlanes
    putLE(f, bitCount, 2);
    putLE(f, compression, 4);
    const int64_t rows = height < 0 ? -int64_t(height) : height;
    putLE(f, static_cast<uint32_t>(int64_t(width) * rows * bitCount / 8), 4);  // biSizeImage
    putLE(f, 0, 16);  // pixels per metre, colours used and important
    f.insert(f.end(), extra.begin(), extra.end());
    return s;
}

StreamSetup audioStream(const std::vector<uint8_t>& waveFormat) {
    StreamSetup s;
    s.fccType = makeFourCC("auds");
    s.fccHandler = 0;
    s.format = waveFormat;
    const uint32_t blockAlign = getLE(waveFormat, 12, 2);
    s.scale = blockAlign != 0 ? blockAlign : 1;
    s.rate = getLE(waveFormat, 8, 4);
    s.sampleSize = blockAlign;
    s.chunkType[0] = 'w';
    s.chunkType[1] = 'b';
    return s;
}

StreamSetup pcmAudioStream(uint16_t channels, uint32_t sampleRate, uint16_t bitsPerSample, bool isFloat) {
    std::vector<uint8_t> w;
    const uint32_t blockAlign = channels * ((bitsPerSample + 7u) / 8u);
    putLE(w, isFloat ? 3 : 1, 2);  // wFormatTag
    putLE(w, channels, 2);
    putLE(w, sampleRate, 4);
    putLE(w, uint64_t(sampleRate) * blockAlign, 4);  // nAvgBytesPerSec
    putLE(w, blockAlign, 2);
    putLE(w, bitsPerSample, 2);
    putLE(w, 0, 2);  // cbSize
    return audioStream(w);
}

}  // namespace aviwriter
