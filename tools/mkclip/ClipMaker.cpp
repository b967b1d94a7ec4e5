// Clip writing: video frames through the Norvik encoder, audio interleaved per frame.
#include "ClipMaker.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <future>
#include <memory>
#include <stdexcept>
#include <utility>

#include "AviWriter.h"
#include "norvik/norvik_common.h"

namespace clipmaker {

namespace {

void putLe(std::vector<uint8_t>& v, uint64_t x, int bytes) {
    for (int i = 0; i < bytes; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> waveFormat(const AudioPlan& a, std::optional<uint32_t> channelMask) {
    const uint32_t blockAlign = a.channels * (a.bits / 8u);
    std::vector<uint8_t> w;
    putLe(w, a.extensible ? 0xFFFE : a.isFloat ? 3 : 1, 2);
    putLe(w, a.channels, 2);
    putLe(w, a.sampleRate, 4);
    putLe(w, static_cast<uint64_t>(a.sampleRate) * blockAlign, 4);
    putLe(w, blockAlign, 2);
    putLe(w, a.bits, 2);
    if (!a.extensible) {
        putLe(w, 0, 2);
        return w;
    }
    putLe(w, 22, 2);      // cbSize
    putLe(w, a.bits, 2);  // wValidBitsPerSample
    const uint32_t firstPositions = a.channels >= 32 ? 0xFFFFFFFFu : (1u << a.channels) - 1u;
    putLe(w, channelMask.value_or(firstPositions), 4);  // dwChannelMask
    // SubFormat GUID: {0000000X-0000-0010-8000-00AA00389B71}, X = 1 PCM, 3 float.
    const uint8_t guid[16] = {
        static_cast<uint8_t>(a.isFloat ? 3 : 1), 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    w.insert(w.end(), guid, guid + 16);
    return w;
}

namespace {

void appendSample(std::vector<uint8_t>& out, const AudioPlan& a, double v) {
    if (a.isFloat) {
        const float f = static_cast<float>(v);
        uint8_t b[4];
        std::memcpy(b, &f, 4);
        out.insert(out.end(), b, b + 4);
        return;
    }
    const double scale = std::ldexp(1.0, a.bits - 1);
    const double lo = -scale, hi = scale - 1;
    const int64_t s = static_cast<int64_t>(std::clamp(std::round(v * scale), lo, hi));
    if (a.bits == 8)
        out.push_back(static_cast<uint8_t>(s + 128));
    else
        putLe(out, static_cast<uint64_t>(s), a.bits / 8);
}

class Tone : public AudioSource {
public:
    Tone(const AudioPlan& audio, uint32_t stream) : m_audio(audio), m_stream(stream) {}
    void read(uint64_t first, uint64_t count, std::vector<uint8_t>& out) override {
        out.reserve(out.size() + count * m_audio.channels * (m_audio.bits / 8u));
        for (uint64_t i = first; i < first + count; ++i)
            for (uint32_t c = 0; c < m_audio.channels; ++c)
                appendSample(out, m_audio, audioSample(m_audio, m_stream, c, i));
    }

private:
    AudioPlan m_audio;
    uint32_t m_stream;
};

// An encoder handle for one clip, closed on destruction.
class Encoder {
public:
    Encoder(const ClipPlan& plan, uint32_t sourceType, const std::vector<uint8_t>& block) {
        norvik_library_init();
        if (norvik_open(&m_handle) != NORVIK_OK) throw std::runtime_error("norvik_open failed");
        norvik_set_thread_count(m_handle, plan.threads);
        const CodecFormat source{plan.width, plan.height,     NORVIK_FORM_EXTENDED, NORVIK_FORM_VERSION, sourceType,
                                 0,          plan.colorSpace, plan.range,           plan.fieldType};
        check(norvik_compress_begin(m_handle, &source, block.data(), static_cast<uint32_t>(block.size()), nullptr),
              "norvik_compress_begin");
        uint32_t bound = 0;
        check(norvik_compress_bound(m_handle, &bound), "norvik_compress_bound");
        // Uninitialised: the library writes what it returns, and clearing the bound's
        // bytes would cost the first frame a pass over them.
        m_out = std::make_unique_for_overwrite<uint8_t[]>(bound);
        m_capacity = bound;
    }
    ~Encoder() {
        norvik_close(m_handle);
        norvik_library_close();
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    // The coded frame: its bytes, valid until the next call.
    struct Coded {
        const uint8_t* data;
        uint32_t size;
    };

    Coded encode(Picture& picture) {
        CodecPlane planes[4] = {};
        for (int p = 0; p < 4; ++p)
            planes[p] = CodecPlane{reinterpret_cast<uintptr_t>(picture.plane(p)), picture.planes[p].rowBytes,
                                   picture.planes[p].size};
        uint32_t written = 0;
        check(norvik_compress(m_handle, planes, m_out.get(), m_capacity, &written), "norvik_compress");
        return Coded{m_out.get(), written};
    }

private:
    static void check(int32_t r, const char* what) {
        if (r != NORVIK_OK)
            throw std::runtime_error(std::string(what) + " failed: " + norvik_get_string(NORVIK_STR_ERROR, r));
    }

    uint32_t m_handle = 0;
    std::unique_ptr<uint8_t[]> m_out;  // m_capacity bytes
    uint32_t m_capacity = 0;
};

// Removes the file at a path when destroyed while armed: a clip that failed
// half-way does not stay behind.
class RemoveOnFailure {
public:
    RemoveOnFailure() = default;
    ~RemoveOnFailure() {
        std::error_code ignored;  // nothing more can be done about a file that will not go
        if (!m_path.empty()) std::filesystem::remove(m_path, ignored);
    }
    RemoveOnFailure(const RemoveOnFailure&) = delete;
    RemoveOnFailure& operator=(const RemoveOnFailure&) = delete;
    void arm(const std::string& utf8Path) { m_path = std::u8string(utf8Path.begin(), utf8Path.end()); }
    void disarm() { m_path.clear(); }

private:
    std::filesystem::path m_path;
};

aviwriter::Options writerOptions(const ClipPlan& plan) {
    aviwriter::Options o;
    o.idx1 = plan.index != IndexKind::OpenDml;
    o.openDml = plan.index != IndexKind::Idx1;
    o.riffLimit = plan.riffLimit;
    o.microSecPerFrame =
        static_cast<uint32_t>(1000000.0 * plan.rateDenominator / std::max<uint32_t>(plan.rateNumerator, 1));
    o.infoSoftware = "norvik-mkclip";
    return o;
}

}  // namespace

std::string validate(const ClipPlan& plan) {
    PlaneLayout layout;
    try {
        layout = planeLayout(plan.type);
    } catch (const std::exception& e) {
        return e.what();
    }
    if (plan.width < 1 || plan.width > 32768 || plan.height < 1 || plan.height > 32768)
        return "width and height must be 1..32768";
    if (layout.chromaX == 2 && plan.width % 2 != 0) return "this type needs an even width";
    if (layout.chromaY == 2 && plan.height % 2 != 0) return "this type needs an even height";
    if (plan.rateNumerator == 0 || plan.rateDenominator == 0) return "the frame rate needs non-zero terms";
    if (plan.fieldType > 2) return "the field type must be 0, 1 or 2";
    if (plan.colorSpace < 1 || plan.colorSpace > 2 || plan.range < 1 || plan.range > 2)
        return "colour space and range must be 1 or 2";
    for (const AudioPlan& a : plan.audio) {
        if (a.channels < 1 || a.channels > 32) return "audio needs 1..32 channels";
        if (a.sampleRate < 1) return "audio needs a sample rate";
        if (a.isFloat ? a.bits != 32 : (a.bits != 8 && a.bits != 16 && a.bits != 24 && a.bits != 32))
            return "audio samples are 8, 16, 24 or 32-bit integers or 32-bit floats";
    }
    return "";
}

std::vector<uint8_t> streamFormatBlock(const ClipPlan& plan) {
    std::vector<uint8_t> block(NORVIK_STREAM_FORMAT_SIZE);
    const int32_t r =
        norvik_make_stream_format(plan.type, plan.colorSpace, plan.range, plan.width, plan.height, plan.fieldType,
                                  plan.sliceHeight, block.data(), static_cast<uint32_t>(block.size()));
    if (r != NORVIK_OK)
        throw std::runtime_error(std::string("stream format: ") + norvik_get_string(NORVIK_STR_ERROR, r));
    return block;
}

uint64_t audioFramesBefore(const ClipPlan& plan, const AudioPlan& audio, uint64_t videoFrame) {
    return videoFrame * audio.sampleRate * plan.rateDenominator / plan.rateNumerator;
}

std::unique_ptr<AudioSource> syntheticAudio(const AudioPlan& audio, uint32_t stream) {
    return std::make_unique<Tone>(audio, stream);
}

namespace {

uint64_t audioFramesWith(const ClipPlan& plan, const AudioPlan& audio, uint64_t videoFrame) {
    return audioFramesBefore(plan, audio, videoFrame + 1) - audioFramesBefore(plan, audio, videoFrame);
}

// The source of each audio stream: the one given, or a tone kept in `tones`.
std::vector<AudioSource*> audioSources(const ClipPlan& plan, const ClipInputs& inputs,
                                       std::vector<std::unique_ptr<AudioSource>>& tones) {
    std::vector<AudioSource*> audio;
    for (size_t s = 0; s < plan.audio.size(); ++s) {
        AudioSource* given = s < inputs.audio.size() ? inputs.audio[s] : nullptr;
        if (given == nullptr) tones.push_back(syntheticAudio(plan.audio[s], static_cast<uint32_t>(s)));
        audio.push_back(given ? given : tones.back().get());
    }
    return audio;
}

}  // namespace

void makeClip(const std::string& path, const ClipPlan& plan, const ClipInputs& inputs) {
    const std::string problem = validate(plan);
    if (!problem.empty()) throw std::runtime_error("invalid clip: " + problem);
    std::unique_ptr<PictureSource> synthetic = inputs.pictures ? nullptr : syntheticPictures(plan);
    PictureSource& pictures = inputs.pictures ? *inputs.pictures : *synthetic;
    const PictureFormat& format = pictures.format();
    if (format.type != plan.type || format.width != plan.width || format.height != plan.height)
        throw std::logic_error("the pictures do not have the plan's type and size");
    std::vector<std::unique_ptr<AudioSource>> tones;
    const std::vector<AudioSource*> audio = audioSources(plan, inputs, tones);

    const std::vector<uint8_t> block = streamFormatBlock(plan);
    const PlaneLayout layout = planeLayout(plan.type);
    const uint16_t bitCount = static_cast<uint16_t>(layout.bits * layout.planes);
    auto video =
        aviwriter::videoStream(makeFourCC("NRVK"), static_cast<int32_t>(plan.width), static_cast<int32_t>(plan.height),
                               plan.rateNumerator, plan.rateDenominator, bitCount, block);
    RemoveOnFailure removal;  // before the writer: the file is closed first, then removed
    aviwriter::AviWriter writer(path, writerOptions(plan));
    removal.arm(path);
    const int videoStream = writer.addVideoStream(video);
    std::vector<int> audioStreams;
    for (size_t s = 0; s < plan.audio.size(); ++s)
        audioStreams.push_back(
            writer.addAudioStream(aviwriter::audioStream(waveFormat(plan.audio[s], audio[s]->channelMask()))));
    Encoder encoder(plan, format.sourceType, block);
    Picture picture, ahead;
    std::vector<uint8_t> samples;
    // Pipeline: the next picture is read on another thread while this one is
    // encoded (on the library's threads) and written. Only the pictures the plan
    // takes are read, one at a time, so the source needs no locking.
    std::future<bool> next;
    if (plan.frames > 0) next = std::async(std::launch::async, [&] { return pictures.next(ahead); });
    for (uint32_t i = 0; i < plan.frames; ++i) {
        if (!next.get()) {
            if (i == 0) throw std::runtime_error("the input holds no pictures");
            break;
        }
        std::swap(picture, ahead);
        if (i + 1 < plan.frames) next = std::async(std::launch::async, [&] { return pictures.next(ahead); });
        const bool empty = std::find(plan.emptyFrames.begin(), plan.emptyFrames.end(), i) != plan.emptyFrames.end();
        if (empty) {
            writer.writeChunk(videoStream, nullptr, 0);
        } else {
            const auto coded = encoder.encode(picture);
            writer.writeChunk(videoStream, coded.data, coded.size);
        }
        for (size_t s = 0; s < plan.audio.size(); ++s) {
            samples.clear();
            audio[s]->read(audioFramesBefore(plan, plan.audio[s], i), audioFramesWith(plan, plan.audio[s], i), samples);
            if (!samples.empty()) writer.writeChunk(audioStreams[s], samples);
        }
        if (inputs.progress) inputs.progress(i + 1);
    }
    writer.finish();
    removal.disarm();
}

}  // namespace clipmaker
