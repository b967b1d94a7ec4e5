// Where a clip's pictures and audio samples come from: synthetic generators, a
// picture stream (YUV4MPEG2 or raw frames) or an audio file.
//
// Sources are read in order, once, by one thread; none is thread-safe.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace clipmaker {

// What a picture source holds, as far as it says.
struct PictureFormat {
    std::string name;         // the layout's name for messages, e.g. "yuv420p"
    uint32_t type = 0;        // the compressed type that holds these pictures exactly
    uint32_t sourceType = 0;  // the encoder's source layout: `type` itself (planar) or a packed output type
    uint32_t width = 0, height = 0;
    uint32_t rateNumerator = 0, rateDenominator = 0;  // 0: the source does not say
    int fieldType = -1;                               // -1: the source does not say
    int range = 0;                                    // 1 limited, 2 full, 0: the source does not say
};

// One picture in the encoder's source layout: planes one after the other in
// `bytes`, top row first; a packed layout has planes[0] only.
struct Picture {
    struct Plane {
        size_t offset = 0;  // into bytes
        uint32_t rowBytes = 0, size = 0;
    };
    std::vector<uint8_t> bytes;
    Plane planes[4];
    uint8_t* plane(int p) { return bytes.data() + planes[p].offset; }
};

// Sizes `picture` for `format` (its bytes and plane records); the contents are left as they are.
void shapePicture(const PictureFormat& format, Picture& picture);

class PictureSource {
public:
    virtual ~PictureSource() = default;
    virtual const PictureFormat& format() const = 0;
    // Reads the next picture into `picture`; false when the input ends cleanly
    // before it. Throws std::runtime_error when the input is cut inside a picture
    // or does not hold what its format says.
    virtual bool next(Picture& picture) = 0;
};

class AudioSource {
public:
    virtual ~AudioSource() = default;
    // Appends sample frames [first, first + count), interleaved, in the stream's
    // own sample format (little-endian; 8-bit unsigned). Called with consecutive
    // ranges starting at 0. Throws std::runtime_error when the source ends first.
    virtual void read(uint64_t first, uint64_t count, std::vector<uint8_t>& out) = 0;
    // The speakers of the channels (dwChannelMask of an extensible wave format);
    // none: the first `channels` speaker positions.
    virtual std::optional<uint32_t> channelMask() const { return std::nullopt; }
};

}  // namespace clipmaker
