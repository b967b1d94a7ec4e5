#include <stdexcept>

#include "WavWriter.h"

namespace norvikimport {

struct WavWriter::File {};

bool WavWriter::available() { return false; }

WavWriter::WavWriter(const std::filesystem::path&, std::uint32_t, std::uint32_t, std::uint32_t channelMask)
    : m_channelMask(channelMask) {
    throw std::runtime_error("this build has no WAV writer (libsndfile); --raw writes the same samples");
}

WavWriter::~WavWriter() = default;
void WavWriter::write(const float*, std::uint64_t) {}
void WavWriter::close() {}

}  // namespace norvikimport
