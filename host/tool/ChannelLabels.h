// Host channel labels for people, and the WAVE speaker mask they make.
#pragma once

#include <cstdint>

#include "prsdk/PrSDK.h"

namespace norvikimport {

// "FrontLeft", "Discrete", ...; "unknown" for a number the host does not use.
const char* channelLabelName(prsdk::PrAudioChannelLabel label);

// The WAVE_FORMAT_EXTENSIBLE speaker bit of a label (front left 0x1 ... top back
// right 0x20000), or 0 for a label that names no such speaker (discrete, ...).
std::uint32_t speakerBit(prsdk::PrAudioChannelLabel label);

}  // namespace norvikimport
