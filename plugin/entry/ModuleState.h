// The module-wide state besides the pixel-format catalogue and the log.
//
// Written only by the host's selector calls (imInit, imShutdown, the first
// selector) and at unload; the host does not overlap those calls.
#pragma once

#include <memory>

#include "suites/ScopedSuite.h"

// The Error Suite holder: created at imInit, destroyed at imShutdown or unload.
// Null before the first imInit.
extern ScopedSuite* g_errorSuite;

// Replaces the holder (releasing and freeing the old one); null frees it.
void replaceErrorSuite(std::unique_ptr<ScopedSuite> holder);
