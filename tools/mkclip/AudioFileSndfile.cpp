// Audio files through libsndfile. Samples are read as 32-bit integers (the
// library left-justifies every integer format, so the file's own values come back
// by a shift) or as floats, and written out again in the file's format.
#include <cstring>
#include <sndfile.h>
#include <stdexcept>

#include "AudioFile.h"

namespace clipmaker {

namespace {

struct SndfileCloser {
    void operator()(SNDFILE* f) const { sf_close(f); }
};
using SndfileHandle = std::unique_ptr<SNDFILE, SndfileCloser>;

// Bits per sample of a libsndfile subtype kept as it is; 0 for the others.
int sampleBits(int subtype) {
    switch (subtype) {
        case SF_FORMAT_PCM_U8:
        case SF_FORMAT_PCM_S8: return 8;
        case SF_FORMAT_PCM_16: return 16;
        case SF_FORMAT_PCM_24: return 24;
        case SF_FORMAT_PCM_32:
        case SF_FORMAT_FLOAT: return 32;
        default: return 0;
    }
}

// The speaker bit of a channel position (the extensible format's dwChannelMask); 0 when it has none.
uint32_t speakerBit(int position) {
    switch (position) {
        case SF_CHANNEL_MAP_LEFT:
        case SF_CHANNEL_MAP_FRONT_LEFT: return 0x1;
        case SF_CHANNEL_MAP_RIGHT:
        case SF_CHANNEL_MAP_FRONT_RIGHT: return 0x2;
        case SF_CHANNEL_MAP_MONO:
        case SF_CHANNEL_MAP_CENTER:
        case SF_CHANNEL_MAP_FRONT_CENTER: return 0x4;
        case SF_CHANNEL_MAP_LFE: return 0x8;
        case SF_CHANNEL_MAP_REAR_LEFT: return 0x10;
        case SF_CHANNEL_MAP_REAR_RIGHT: return 0x20;
        case SF_CHANNEL_MAP_FRONT_LEFT_OF_CENTER: return 0x40;
        case SF_CHANNEL_MAP_FRONT_RIGHT_OF_CENTER: return 0x80;
        case SF_CHANNEL_MAP_REAR_CENTER: return 0x100;
        case SF_CHANNEL_MAP_SIDE_LEFT: return 0x200;
        case SF_CHANNEL_MAP_SIDE_RIGHT: return 0x400;
        case SF_CHANNEL_MAP_TOP_CENTER: return 0x800;
        case SF_CHANNEL_MAP_TOP_FRONT_LEFT: return 0x1000;
        case SF_CHANNEL_MAP_TOP_FRONT_CENTER: return 0x2000;
        case SF_CHANNEL_MAP_TOP_FRONT_RIGHT: return 0x4000;
        case SF_CHANNEL_MAP_TOP_REAR_LEFT: return 0x8000;
        case SF_CHANNEL_MAP_TOP_REAR_CENTER: return 0x10000;
        case SF_CHANNEL_MAP_TOP_REAR_RIGHT: return 0x20000;
        default: return 0;
    }
}

// The file's channel mask from its channel map: none when the file has no map,
// 0 (no assignment) when a channel has no speaker position.
std::optional<uint32_t> channelMask(SNDFILE* file, int channels) {
    std::vector<int> map(static_cast<size_t>(channels));
    if (sf_command(file, SFC_GET_CHANNEL_MAP_INFO, map.data(), static_cast<int>(map.size() * sizeof(int))) != SF_TRUE)
        return std::nullopt;
    uint32_t mask = 0;
    for (int position : map) {
        const uint32_t bit = speakerBit(position);
        if (bit == 0) return 0u;
        mask |= bit;
    }
    return mask;
}

class SndfileSamples : public AudioSource {
public:
    SndfileSamples(SndfileHandle file, std::string path, const AudioPlan& stream, std::optional<uint32_t> mask,
                   int64_t frames)
        : m_file(std::move(file)), m_path(std::move(path)), m_stream(stream), m_mask(mask), m_frames(frames) {}

    std::optional<uint32_t> channelMask() const override { return m_mask; }

    // A file that ends inside the range is padded with silence; a range that
    // starts at or after the file's end (so a whole video frame would be silent) throws.
    void read(uint64_t first, uint64_t count, std::vector<uint8_t>& out) override {
        if (first != m_position) throw std::logic_error("audio file samples are read in order");
        const size_t values = static_cast<size_t>(count) * m_stream.channels;
        sf_count_t got = 0;
        if (m_ended) {
            got = 0;
        } else if (m_stream.isFloat) {
            m_floats.assign(values, 0.0f);
            got = sf_readf_float(m_file.get(), m_floats.data(), static_cast<sf_count_t>(count));
        } else {
            m_ints.assign(values, 0);
            got = sf_readf_int(m_file.get(), m_ints.data(), static_cast<sf_count_t>(count));
        }
        if (got <= 0 && count > 0) throw std::runtime_error(tooShort(first));
        m_ended = got < static_cast<sf_count_t>(count);
        m_position += count;
        append(values, out);
    }

private:
    void append(size_t values, std::vector<uint8_t>& out) const {
        const int bytes = m_stream.bits / 8;
        const size_t at = out.size();
        out.resize(at + values * static_cast<size_t>(bytes));
        uint8_t* d = out.data() + at;
        for (size_t i = 0; i < values; ++i, d += bytes) {
            uint32_t v = 0;
            if (m_stream.isFloat)
                std::memcpy(&v, &m_floats[i], 4);
            else
                v = static_cast<uint32_t>(m_ints[i] >> (32 - m_stream.bits)) + (m_stream.bits == 8 ? 128u : 0u);
            for (int b = 0; b < bytes; ++b) d[b] = static_cast<uint8_t>(v >> (8 * b));
        }
    }

    std::string tooShort(uint64_t frameStart) const {
        const double rate = m_stream.sampleRate;
        return "audio file " + m_path + " ends after " + std::to_string(m_frames) + " sample frames (" +
               std::to_string(m_frames / rate) + " s at " + std::to_string(m_stream.sampleRate) +
               " Hz), before a video frame that starts at sample frame " + std::to_string(frameStart) + " (" +
               std::to_string(frameStart / rate) +
               " s); an audio file must last into the last video frame (cut the video with -n, or pad the audio)";
    }

    SndfileHandle m_file;
    std::string m_path;
    AudioPlan m_stream;
    std::optional<uint32_t> m_mask;
    int64_t m_frames;
    uint64_t m_position = 0;
    bool m_ended = false;  // the file ended inside the last range read
    std::vector<int> m_ints;
    std::vector<float> m_floats;
};

}  // namespace

bool audioFilesAvailable() { return true; }

AudioFile openAudioFile(const std::string& path) {
    SF_INFO info{};
    SndfileHandle file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file) throw std::runtime_error("cannot read audio file " + path + ": " + sf_strerror(nullptr));
    const int subtype = info.format & SF_FORMAT_SUBMASK;
    AudioFile out;
    AudioPlan& stream = out.stream;
    stream.bits = static_cast<uint16_t>(sampleBits(subtype));
    if (stream.bits == 0)
        throw std::runtime_error("audio file " + path +
                                 ": its samples are not 8, 16, 24 or 32-bit PCM or 32-bit float, which a clip keeps as "
                                 "they are (convert it, e.g. ffmpeg -i IN -c:a pcm_s24le OUT.wav)");
    if (info.channels < 1 || info.channels > 32 || info.samplerate < 1)
        throw std::runtime_error("audio file " + path + ": " + std::to_string(info.channels) +
                                 " channels (1..32 kept) at " + std::to_string(info.samplerate) + " Hz");
    stream.channels = static_cast<uint16_t>(info.channels);
    stream.sampleRate = static_cast<uint32_t>(info.samplerate);
    stream.isFloat = subtype == SF_FORMAT_FLOAT;
    std::optional<uint32_t> mask = channelMask(file.get(), info.channels);
    stream.extensible = (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAVEX || mask.has_value();
    if (stream.extensible && !mask) mask = 0;
    out.samples = std::make_unique<SndfileSamples>(std::move(file), path, stream, mask, info.frames);
    return out;
}

}  // namespace clipmaker
