// Interleaved sample bytes to one float buffer per channel, by host sample type:
// 8-bit samples (stored unsigned) are offset to signed and, like 16-, 24- and
// 32-bit integers, converted by the host's Audio Suite; 32-bit floats are copied
// bit for bit by our own loop.
#pragma once

#include <cstdint>

#include "prsdk/PrSDK.h"

// Bytes of one sample of a host sample type; 0 for a type that is not converted.
uint32_t bytesPerSample(uint32_t sampleType);

// The byte that reads as silence in the file's own encoding: 0x80 for unsigned
// 8-bit samples, 0 for every other type.
uint8_t silenceByte(uint32_t sampleType);

// Converts `frames` sample frames of `channels` channels from `source` (which it
// may change: 8-bit samples are offset in place) into channels[c][0..frames).
// `suite` is used for integer types only and may be null for floats. Returns the
// Audio Suite's result (0 when it succeeded or was not needed).
int32_t convertToFloat(uint32_t sampleType, const prsdk::PrSDKAudioSuite* suite, uint8_t* source, float** channels,
                       uint32_t channelCount, uint32_t frames);
