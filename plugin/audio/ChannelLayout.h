// Which speaker each channel of an audio stream feeds, as host channel labels.
#pragma once

#include <cstdint>

#include "prsdk/PrSDK.h"
#include "streams/AudioInfo.h"

// The speaker mask of a wave format: dwChannelMask for the extensible tag;
// otherwise every bit for 2 or 6 channels (stereo, 5.1) and none for other counts.
uint32_t speakerMask(const WaveFormat& format);

// Fills labels[0..min(channels, 32)) from the mask's set bits, lowest first, and
// returns how many were filled; the labels after them keep what the host put
// there. Bits 0 to 17 are the wave format's speaker positions (front left ...
// top back right); any higher bit gives a discrete channel.
uint32_t fillChannelLabels(const WaveFormat& format, prsdk::PrAudioChannelLabel labels[32]);
