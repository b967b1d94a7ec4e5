// The host's names of its pixel formats ("BGRA_4444_8u" for 'bgra'), for people.
#pragma once

#include <string>

#include "prsdk/PrSDK.h"

namespace norvikhost {

// The name of a pixel format the host defines, or "unknown".
const char* pixelFormatName(prsdk::PrPixelFormat format);

// The pixel format's four characters in memory order ('bgra'), unprintable bytes as '.'.
std::string pixelFormatText(prsdk::PrPixelFormat format);

}  // namespace norvikhost
