#include "norvikhost/AudioConvert.h"

#include <cstring>

namespace norvikhost {

namespace {

// One little-endian sample of `bytes` bytes, sign-extended.
std::int32_t readSample(const unsigned char* p, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= std::uint32_t(p[i]) << (8 * i);
    const int unused = 32 - 8 * bytes;
    // Shift the sign bit to the top and back (arithmetic shift of a signed value).
    return std::int32_t(value << unused) >> unused;
}

}  // namespace

bool uninterleaveToFloat(int bits, const void* source, float** channels, std::uint32_t channelCount,
                         std::uint32_t frames) {
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    const int bytes = bits / 8;
    const double scale = 1.0 / double(std::int64_t(1) << (bits - 1));
    const auto* in = static_cast<const unsigned char*>(source);
    for (std::uint32_t f = 0; f < frames; ++f) {
        for (std::uint32_t c = 0; c < channelCount; ++c) {
            channels[c][f] = float(double(readSample(in, bytes)) * scale);
            in += bytes;
        }
    }
    return true;
}

}  // namespace norvikhost
