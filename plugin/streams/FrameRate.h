// The frame rate a clip reports to the host, from its stream header's rate and
// scale: near-integer and near-NTSC rates are snapped, the fraction is reduced,
// and a rate whose duration would not fit the host's 32-bit field is scaled down.
#pragma once

#include <cstdint>

struct FrameRate {
    int32_t numerator = 30;
    int32_t denominator = 1;
    bool invalid = false;           // the header's rate could not be used; 30/1 stands in
    bool durationAdjusted = false;  // scaled down so that frames x denominator fits 31 bits
};

// dwRate and dwScale are the stream header's words, read as signed 32-bit numbers.
FrameRate computeFrameRate(int32_t dwRate, int32_t dwScale, int64_t numFrames);
