// Writes 32-bit float WAVE files with an extensible header (WAVE_FORMAT_EXTENSIBLE)
// whose dwChannelMask is the one given, through libsndfile. libsndfile names
// speakers by its own channel map, which has no entry for a channel that feeds no
// speaker nor for mask bits above top-back-right, and it chooses a default mask
// when given none; so after libsndfile has written the file, the mask word of its
// extensible header is set to the one asked for.
// The Windows build has no libsndfile: there available() is false and the
// constructor throws. Not thread-safe.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

namespace norvikimport {

class WavWriter {
public:
    static bool available();

    // Creates the file; throws std::runtime_error with the reason when it cannot.
    WavWriter(const std::filesystem::path& path, std::uint32_t channels, std::uint32_t sampleRate,
              std::uint32_t channelMask);
    ~WavWriter();  // closes the file if close() was not called, without the mask
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // Appends `frames` sample frames of interleaved floats; throws on a short write.
    void write(const float* interleaved, std::uint64_t frames);
    // Finishes the file and writes the channel mask; throws on failure.
    void close();

private:
    struct File;
    std::unique_ptr<File> m_file;
    std::filesystem::path m_path;
    std::uint32_t m_channelMask;
};

// Sets dwChannelMask in the extensible "fmt " chunk of the WAVE file at `path`;
// throws when the file has no such chunk.
void setWaveChannelMask(const std::filesystem::path& path, std::uint32_t channelMask);

}  // namespace norvikimport
