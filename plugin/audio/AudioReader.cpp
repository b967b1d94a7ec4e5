#include "audio/AudioReader.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "audio/ChunkReader.h"
#include "audio/SampleConversion.h"
#include "log/Log.h"

using namespace prsdk;

namespace {

constexpr uint32_t kMaxChannels = 32;

long long ll(int64_t v) { return static_cast<long long>(v); }

int64_t saturatingAdd(int64_t a, uint32_t b) { return a > INT64_MAX - int64_t(b) ? INT64_MAX : a + int64_t(b); }

// Why a description cannot be converted safely, or null.
const char* layoutProblem(const WaveFormat& format, uint32_t sampleType) {
    const uint32_t bytes = bytesPerSample(sampleType);
    if (bytes == 0) return "unsupported sample type";
    if (format.nChannels > kMaxChannels) return "more than 32 channels";
    if (format.nBlockAlign != bytes * format.nChannels) return "block align is not channels x bytes per sample";
    return nullptr;
}

// The host's channel buffers, each advanced to one sample frame.
std::array<float*, kMaxChannels> channelsAt(float* const* buffers, uint32_t channels, uint64_t frame) {
    std::array<float*, kMaxChannels> at{};
    for (uint32_t c = 0; c < channels; ++c) at[c] = buffers[c] + frame;
    return at;
}

// One request as the reader works through it.
struct AudioJob {
    const AudioInfo& audio;
    std::vector<uint8_t>& buffer;
    const AudioSuiteSource& suite;
    float* const* buffers;
    uint32_t channels;
    uint32_t frameBytes;
    int32_t result = imNoErr;
};

// Reads up to `frames` frames from the reader and converts what came (a partial
// last frame made whole with silence) to `frame` onwards; returns the frames written.
uint64_t readPiece(AudioJob& job, ChunkReader& reader, uint64_t frame, uint64_t frames, uint64_t& bytesRead) {
    const uint64_t frameBytes = job.frameBytes;
    const uint64_t available = (reader.remaining() + frameBytes - 1) / frameBytes * frameBytes;
    const uint64_t want = std::min(frames * frameBytes, available);
    std::vector<uint8_t>& buffer = job.buffer;
    if (buffer.size() < want) buffer.resize(want);
    const uint64_t got = reader.read(buffer.data(), want);
    bytesRead += got;
    const uint64_t whole = (got + frameBytes - 1) / frameBytes;
    std::fill(buffer.begin() + ptrdiff_t(got), buffer.begin() + ptrdiff_t(whole * frameBytes),
              silenceByte(job.audio.sampleType));
    if (whole == 0) return 0;
    const PrSDKAudioSuite* suite = job.audio.sampleType == kPrAudioSampleType_32BitFloat ? nullptr : &job.suite();
    auto at = channelsAt(job.buffers, job.channels, frame);
    const int32_t converted =
        convertToFloat(job.audio.sampleType, suite, buffer.data(), at.data(), job.channels, uint32_t(whole));
    if (converted != 0) {
        logMessage("importAudio: the Audio Suite's conversion failed: %d", converted);
        job.result = imOtherErr;
    }
    return whole;
}

void writeSilence(const AudioJob& job, uint64_t frame, uint64_t frames) {
    for (uint32_t c = 0; c < job.channels; ++c) std::fill_n(job.buffers[c] + frame, frames, 0.0f);
}

// Fills all `size` frames, piece by piece; returns the bytes the file supplied.
uint64_t deliver(AudioJob& job, ChunkReader& reader, uint32_t size, uint64_t pieceBytes) {
    uint64_t bytesRead = 0;
    if (job.channels == 0) return 0;
    const uint64_t pieceFrames = std::max<uint64_t>(1, pieceBytes / job.frameBytes);
    for (uint64_t frame = 0; frame < size;) {
        const uint64_t frames = std::min<uint64_t>(pieceFrames, size - frame);
        const uint64_t written = reader.finished() ? 0 : readPiece(job, reader, frame, frames, bytesRead);
        writeSilence(job, frame + written, frames - written);
        frame += frames;
    }
    return bytesRead;
}

bool buffersMissing(float* const* buffers, uint32_t channels, uint32_t size) {
    if (size == 0 || channels == 0) return false;
    if (!buffers) return true;
    return std::any_of(buffers, buffers + channels, [](const float* b) { return b == nullptr; });
}

}  // namespace

int32_t importAudio(const AudioInfo& audio, AudioCursor& cursor, fileio::File& file, const AudioSuiteSource& suite,
                    const imImportAudioRec7& request, uint64_t pieceBytes) {
    if (!audio.valid) return imNoErr;
    const int64_t position = request.position;
    const uint32_t size = request.size;
    float* const* buffers = request.buffer;
    const int64_t startPos = position < 0 ? cursor.position() : position;
    const int64_t endPos = saturatingAdd(startPos, size);
    logMessage("importAudioRec7P->position: %lld", ll(position));
    logMessage("m_audioPosition           : %lld", ll(cursor.position()));
    logMessage("startPos                  : %lld", ll(startPos));
    logMessage("importAudioRec7P->size    : %u", size);
    logMessage("endPos                    : %lld", ll(endPos));
    logMessage("m_numAudioSampleFrames    : %lld", ll(audio.numSampleFrames));

    const WaveFormat& format = audio.waveFormat;
    const uint64_t frameBytes = format.nBlockAlign;
    // A byte position past 64 bits lies past any data: shown as INT64_MAX, read from nowhere.
    const bool startFits = frameBytes == 0 || uint64_t(startPos) <= uint64_t(INT64_MAX) / frameBytes;
    const uint64_t startPosBytes = startFits ? frameBytes * uint64_t(startPos) : UINT64_MAX;
    const uint64_t sizeBytes = frameBytes * size;
    logMessage("startPosBytes             : %lld", startFits ? ll(int64_t(startPosBytes)) : ll(INT64_MAX));
    logMessage("sizeBytes                 : %lld", ll(int64_t(sizeBytes)));

    if (const char* problem = layoutProblem(format, audio.sampleType)) {
        logMessage("importAudio: refused: %s (sample type %u, %u channels, block align %u)", problem, audio.sampleType,
                   format.nChannels, format.nBlockAlign);
        return imDecompressionError;
    }
    if (buffersMissing(buffers, format.nChannels, size)) {
        logMessage("importAudio: refused: the host gave no buffer for some of the %u channels", format.nChannels);
        return imOtherErr;
    }
    AudioJob job{audio, cursor.conversionBuffer(), suite, buffers, format.nChannels, format.nBlockAlign};
    ChunkReader reader(*audio.stream, file, startPosBytes);
    const uint64_t bytesRead = deliver(job, reader, size, pieceBytes);
    logMessage("fill    : %lld", ll(int64_t(sizeBytes - bytesRead)));
    cursor.moveTo(endPos);
    return job.result;
}
