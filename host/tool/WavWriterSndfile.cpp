#include <sndfile.h>
#include <stdexcept>
#include <string>

#include "WavWriter.h"

namespace norvikimport {

struct WavWriter::File {
    SNDFILE* handle = nullptr;
};

bool WavWriter::available() { return true; }

WavWriter::WavWriter(const std::filesystem::path& path, std::uint32_t channels, std::uint32_t sampleRate,
                     std::uint32_t channelMask)
    : m_file(std::make_unique<File>()), m_path(path), m_channelMask(channelMask) {
    SF_INFO info{};
    info.samplerate = int(sampleRate);
    info.channels = int(channels);
    info.format = SF_FORMAT_WAVEX | SF_FORMAT_FLOAT;
    m_file->handle = sf_open(path.string().c_str(), SFM_WRITE, &info);
    if (!m_file->handle) throw std::runtime_error("cannot write '" + path.string() + "': " + sf_strerror(nullptr));
}

WavWriter::~WavWriter() {
    if (m_file->handle) sf_close(m_file->handle);
}

void WavWriter::write(const float* interleaved, std::uint64_t frames) {
    if (sf_writef_float(m_file->handle, interleaved, sf_count_t(frames)) != sf_count_t(frames))
        throw std::runtime_error("cannot write '" + m_path.string() + "': " + sf_strerror(m_file->handle));
}

void WavWriter::close() {
    const int closed = sf_close(m_file->handle);
    m_file->handle = nullptr;
    if (closed != 0) throw std::runtime_error("cannot finish '" + m_path.string() + "': " + sf_error_number(closed));
    setWaveChannelMask(m_path, m_channelMask);
}

}  // namespace norvikimport
