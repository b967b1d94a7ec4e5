// Decides, chunk by chunk of a scan, what a repaired copy keeps: each whole video
// chunk whose frame is sound (FrameShape); a cut or unsound frame becomes an empty
// frame (the importer shows its neighbour); audio chunks whole, a cut last one
// down to whole sample frames; chunks of streams the headers do not describe are
// dropped. The decisions are handed to a sink in file order, so that the check
// can count them and the repair can write them.
//
// Reads the chunks' data through the ByteSource; holds one chunk at a time.
// Not thread-safe.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ChunkScan.h"
#include "FrameShape.h"
#include "avi/AviParser.h"

namespace repair {

struct RecoveredStream {
    const AviStream* stream = nullptr;  // the parser's; not owned
    FourCC chunkType = 0;               // "dc", "wb", ... as in the id's last two letters
    std::optional<FrameLayout> layout;  // video streams with a Norvik format
    uint32_t blockAlign = 0;            // audio streams
    uint64_t kept = 0;                  // chunks kept with their data
    uint64_t emptied = 0;               // cut or unsound frames kept as empty frames
    uint64_t trimmed = 0;               // a cut audio chunk kept to whole sample frames
    uint64_t dropped = 0;               // chunks not kept
    uint64_t bytes = 0;                 // data bytes kept
};

class Recovery {
public:
    // Gets the kept chunk's stream (a position in `streams`) and data (size 0: an empty frame).
    using Sink = std::function<void(size_t stream, const uint8_t* data, uint32_t size)>;
    // Gets bytes done and total, for a progress line.
    using Progress = std::function<void(uint64_t done, uint64_t total)>;
    // Frame check beyond the structure (the codec's decode with --verify): empty when sound.
    using FrameVerifier = std::function<std::string(size_t stream, const uint8_t* data, uint32_t size)>;

    Recovery(ByteSource& source, const AviParser& parser, const ScanResult& scan);

    void run(const Sink& sink, const Progress& progress = {}, const FrameVerifier& verify = {});

    std::vector<RecoveredStream> streams;  // one per parsed stream, in the parser's order
    std::vector<std::string> events;       // why chunks were emptied or dropped (capped)
    uint64_t droppedChunks = 0;            // chunks of no described stream, or unreadable

private:
    void handle(const ScannedChunk& chunk, const Sink& sink, const FrameVerifier& verify);
    void event(const ScannedChunk& chunk, const std::string& text);
    int positionOf(int streamNumber) const;

    ByteSource& m_source;
    const ScanResult& m_scan;
    std::vector<int> m_byNumber;  // stream number (strl ordinal) -> position in streams, -1 none
    std::vector<uint8_t> m_buffer;
};

}  // namespace repair
