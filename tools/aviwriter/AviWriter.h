// Streaming writer of RIFF AVI files, for tests, benchmarks and the clip tools.
//
// Layout written:
//   RIFF 'AVI '
//     LIST 'hdrl'  avih, one LIST 'strl' per stream (strh, strf, indx), LIST 'odml' (dmlh)
//     [LIST 'INFO'] [JUNK]
//     LIST 'movi'  data chunks (and 'rec ' lists), then the ix## standard indexes
//     idx1
//   RIFF 'AVIX'    further forms when the OpenDML index is on and a form would pass
//     LIST 'movi'  Options::riffLimit bytes; each closes with its ix## chunks
//
// Frames go straight to the file: only index entries (8 bytes per chunk for
// OpenDML, 16 per chunk of the first form for idx1) are kept in memory.
// Headers are written first with room for the super index (Options::superIndexSlots
// entries) and completed by finish().
//
// Faults (Faults) break the file on request so the parser's error paths can be
// exercised; a default Faults writes a well-formed file.
//
// Errors: every function throws std::runtime_error when the file cannot be written
// or the call is out of order (a stream added after the first chunk, a chunk for
// an unknown stream, too many standard indexes for the reserved super index).
// Not thread-safe. The destructor closes the file without finishing it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "prsdk/FourCC.h"

namespace aviwriter {

// One stream: the fields of its 56-byte stream header and the raw strf bytes.
struct StreamSetup {
    uint32_t fccType = makeFourCC("vids");  // "vids" or "auds"
    uint32_t fccHandler = 0;
    uint32_t flags = 0;
    uint16_t priority = 0;
    uint16_t language = 0;
    uint32_t initialFrames = 0;
    uint32_t scale = 1;  // rate / scale = frames (or blocks) per second
    uint32_t rate = 25;
    uint32_t start = 0;
    int64_t length = -1;               // dwLength; -1: chunk count (video) or bytes / sampleSize
    uint32_t suggestedBufferSize = 0;  // 0: largest chunk written
    uint32_t quality = 0xFFFFFFFF;
    uint32_t sampleSize = 0;          // dwSampleSize (block align for PCM audio)
    int16_t frame[4] = {0, 0, 0, 0};  // rcFrame: left, top, right, bottom
    std::vector<uint8_t> format;      // strf data: BITMAPINFOHEADER(+extra) or WAVEFORMATEX(TENSIBLE)
    char chunkType[3] = "dc";         // two letters after the stream number in chunk ids
    bool omitStrh = false;            // fault: strl without strh
    bool omitStrf = false;            // fault: strl without strf
};

// Video stream with a BITMAPINFOHEADER built from the arguments, followed by extra bytes.
StreamSetup videoStream(uint32_t compression, int32_t width, int32_t height, uint32_t rate, uint32_t scale,
                        uint16_t bitCount = 24, const std::vector<uint8_t>& extra = {});
// PCM audio stream (WAVEFORMATEX, tag 1, or 3 for float when isFloat).
StreamSetup pcmAudioStream(uint16_t channels, uint32_t sampleRate, uint16_t bitsPerSample, bool isFloat = false);
// Audio stream whose strf is the given WAVEFORMATEX/WAVEFORMATEXTENSIBLE bytes
// (nBlockAlign and nAvgBytesPerSec are taken from them).
StreamSetup audioStream(const std::vector<uint8_t>& waveFormat);

struct Faults {
    uint64_t truncateAt = 0;          // cut the finished file to this size (0: keep)
    int64_t riffSizeDelta = 0;        // added to the first RIFF size field
    int64_t moviSizeDelta = 0;        // added to the first movi size field
    uint16_t superLongsPerEntry = 4;  // wLongsPerEntry of every indx
    uint16_t stdLongsPerEntry = 2;    // wLongsPerEntry of every ix##
    uint32_t superExtraEntries = 0;   // added to each indx nEntriesInUse
    uint32_t stdExtraEntries = 0;     // added to each ix## nEntriesInUse
    bool superSmallSize = false;      // dwSize 4 in the first super index entry of each stream
    bool superOffsetPastEnd = false;  // first super index entry of each stream points past the end
    int64_t stdBaseOffsetDelta = 0;   // added to every ix## qwBaseOffset
    uint32_t idx1ExtraBytes = 0;      // idx1 data grows by this many zero bytes
    bool superRepeatsFirst = false;   // every super index entry of a stream names its first ix##
    bool superPointsToIndx = false;   // first super index entry of each stream names the indx itself
    // Non-zero: finish() writes, at this file position past the last form, a standard
    // index of stream 0 that declares as many entries as a chunk of 4 GiB holds; only
    // the stream's own entries are written, the rest of the chunk is zeros (a hole
    // when sparse). Stream 0's super index names only it.
    uint64_t hugeIndexAt = 0;
};

struct Options {
    bool idx1 = true;                   // write the legacy index (first form only with OpenDML)
    bool openDml = true;                // write indx/ix## and AVIX forms
    uint64_t riffLimit = 1ull << 30;    // a form is closed before it would grow past this
    uint32_t superIndexSlots = 256;     // super index entries reserved per stream
    bool sparse = false;                // sparse chunks skip their data instead of writing zeros
    std::string infoSoftware;           // non-empty: LIST 'INFO' with an ISFT chunk
    uint32_t junkAfterHeader = 0;       // non-zero: a JUNK chunk of this size before movi
    uint32_t microSecPerFrame = 40000;  // avih dwMicroSecPerFrame
    Faults faults;
};

class AviWriter {
public:
    // Creates (or truncates) the file at path (UTF-8).
    AviWriter(const std::string& path, Options options = {});
    ~AviWriter();
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    // Adds a stream; returns its number. Only before the first chunk.
    int addStream(const StreamSetup& setup);
    int addVideoStream(const StreamSetup& setup) { return addStream(setup); }
    int addAudioStream(const StreamSetup& setup) { return addStream(setup); }

    // Writes one data chunk of the stream (data may be empty).
    void writeChunk(int stream, const void* data, uint32_t size, bool keyFrame = true);
    void writeChunk(int stream, const std::vector<uint8_t>& data, bool keyFrame = true);
    // Writes a chunk of `size` zero bytes; with Options::sparse the data is skipped
    // (a hole in the file) rather than written.
    void writeZeroChunk(int stream, uint32_t size, bool keyFrame = true);
    // Writes a chunk whose size field says declaredSize while `size` bytes follow.
    void writeChunkWithSizeField(int stream, const void* data, uint32_t size, uint32_t declaredSize);
    // A JUNK chunk of `size` zero bytes in movi (skipped when sparse); used to move
    // later chunks far into the file.
    void writeJunk(uint32_t size);
    // Opens and closes a LIST 'rec ' around the chunks written between the calls.
    void beginRec();
    void endRec();

    // Writes the indexes, completes the headers and closes the file.
    void finish();

    // Absolute data offset of the n-th chunk written for a stream (for checks).
    uint64_t chunkOffset(int stream, size_t n) const;
    size_t chunkCount(int stream) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace aviwriter
