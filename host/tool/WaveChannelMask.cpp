#include <cstring>
#include <fstream>
#include <stdexcept>

#include "WavWriter.h"

namespace norvikimport {

namespace {

std::uint32_t le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24; }

}  // namespace

void setWaveChannelMask(const std::filesystem::path& path, std::uint32_t channelMask) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    unsigned char riff[12];
    if (!file.read(reinterpret_cast<char*>(riff), 12) || std::memcmp(riff, "RIFF", 4) ||
        std::memcmp(riff + 8, "WAVE", 4))
        throw std::runtime_error("'" + path.string() + "' is not a WAVE file");
    // Chunks: 4-byte id, 4-byte size, data padded to an even length.
    for (unsigned char header[8]; file.read(reinterpret_cast<char*>(header), 8);) {
        const std::uint32_t size = le32(header + 4);
        if (std::memcmp(header, "fmt ", 4) != 0) {
            file.seekg(std::streamoff(size + (size & 1)), std::ios::cur);
            continue;
        }
        unsigned char format[40];
        // WAVE_FORMAT_EXTENSIBLE: tag 0xFFFE, dwChannelMask at byte 20 of the chunk's data.
        if (size < 40 || !file.read(reinterpret_cast<char*>(format), 40) || format[0] != 0xFE || format[1] != 0xFF)
            break;
        const unsigned char mask[4] = {
            static_cast<unsigned char>(channelMask), static_cast<unsigned char>(channelMask >> 8),
            static_cast<unsigned char>(channelMask >> 16), static_cast<unsigned char>(channelMask >> 24)};
        file.seekp(std::streamoff(file.tellg()) - 40 + 20);
        if (file.write(reinterpret_cast<const char*>(mask), 4).flush()) return;
        break;
    }
    throw std::runtime_error("'" + path.string() + "' has no extensible format chunk to carry the channel mask");
}

}  // namespace norvikimport
