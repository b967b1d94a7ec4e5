// What norvik-import info shows about a clip: the module is started as the host
// starts it (imInit, its formats, its subtype names), the clip is opened and
// described through ClipDriver, and the module is shut down. The answers are
// printed as text or as one JSON document. Both depend only on the answers and
// the file's base name, so they are the same on every run and platform.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "norvikhost/ClipDriver.h"
#include "norvikhost/ImporterDriver.h"

namespace norvikimport {

struct ClipReport {
    std::string fileName;  // base name of the clip
    std::int32_t initResult = 0;
    std::vector<norvikhost::SubType> subTypes;  // every subtype the module names
    norvikhost::ClipAnswers clip;               // empty when imInit failed
    std::int32_t shutdownResult = 0;
};

// Runs the module through start-up, the clip sequence and shutdown on `clip`.
// Throws HostError when the module lets an exception escape.
ClipReport inspectClip(norvikhost::ImporterDriver& driver, const std::filesystem::path& clip);

// True when the host could show the clip: it opened and host stream 0 was described.
bool clipShown(const ClipReport& report);

// The report as lines of text, each ending in '\n'.
std::string clipText(const ClipReport& report);

// The report as one JSON document (indented, ending in '\n').
std::string clipJson(const ClipReport& report);

}  // namespace norvikimport
