// The Audio Suite's conversion kernels against the rule they implement (the
// signed little-endian sample over 2^(bits-1)), on random samples with the
// extremes of each width, at frame counts around the kernels' vector and tile
// sizes, channel counts that take each of their ways, and an unaligned source
// of exactly the size given (ASan sees any read past it). A guard float after
// each channel shows any write past the frames.
#include <gtest/gtest.h>
#include <random>
#include <vector>

#include "norvikhost/AudioConvert.h"

using namespace norvikhost;

namespace {

float expected(const unsigned char* p, int bytes) {
    std::int64_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= std::int64_t(p[i]) << (8 * i);
    const std::int64_t half = std::int64_t(1) << (8 * bytes - 1);
    if (value >= half) value -= 2 * half;
    return float(double(value) / double(half));
}

}  // namespace

TEST(AudioKernels, EveryKernelGivesTheSignedSampleOverTwoToTheBitsLessOne) {
    constexpr float kGuard = 12345.0f;
    std::mt19937 random(7);
    for (AudioKernel kernel : {AudioKernel::Baseline, AudioKernel::Avx2}) {
        if (!audioKernelAvailable(kernel)) continue;
        for (int bits : {8, 16, 24, 32})
            for (std::uint32_t channels : {1u, 2u, 3u, 6u, 8u, 11u, 32u})
                for (std::uint32_t frames : {1u, 7u, 8u, 9u, 23u, 300u}) {
                    const int bytes = bits / 8;
                    const std::size_t count = std::size_t(frames) * channels;
                    // One byte of offset so that the samples are unaligned.
                    std::vector<unsigned char> source(1 + count * std::size_t(bytes));
                    for (auto& b : source) b = static_cast<unsigned char>(random());
                    source[1 + std::size_t(bytes) - 1] = 0x80;  // the most negative sample
                    source.back() = 0x7F;                       // the last sample positive
                    std::vector<std::vector<float>> out(channels, std::vector<float>(frames + 1, kGuard));
                    std::vector<float*> pointers;
                    for (auto& channel : out) pointers.push_back(channel.data());
                    ASSERT_TRUE(
                        uninterleaveToFloat(kernel, bits, source.data() + 1, pointers.data(), channels, frames));
                    for (std::uint32_t c = 0; c < channels; ++c) {
                        for (std::uint32_t f = 0; f < frames; ++f)
                            ASSERT_EQ(out[c][f], expected(&source[1 + (f * channels + c) * std::size_t(bytes)], bytes))
                                << "kernel " << int(kernel) << ", " << bits << " bits, " << channels << " channels, "
                                << frames << " frames: channel " << c << ", frame " << f;
                        ASSERT_EQ(out[c][frames], kGuard) << "written past channel " << c;
                    }
                }
    }
}
