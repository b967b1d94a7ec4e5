// norvik-import frames without the command line: every frame of a range asked
// for in order through a FrameRequester, and written as framemd5 lines, PNG
// pictures and raw frame files. Works with any FrameRequester, so other ways of
// asking for frames (the asynchronous importer) share it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "FrameFormats.h"
#include "norvikhost/FrameRequester.h"

namespace norvikimport {

// The pixel format to ask for: `code` ("yuy2", ...) or, when empty, the first
// the module offers. Throws std::runtime_error naming the offered formats when
// the clip does not offer it, or when the frame tools do not know it.
const FrameFormat& chooseFrameFormat(const norvikhost::ClipVideo& video, const std::string& code);

// The inclusive range "FIRST:LAST" ("FIRST:" runs to the end; empty: every
// frame) of a clip with `frameCount` frames. Throws std::runtime_error when it is
// malformed or outside the clip.
std::pair<std::int64_t, std::int64_t> parseFrameRange(const std::string& text, std::int64_t frameCount);

struct FramesOutput {
    std::ostream* md5 = nullptr;       // framemd5 listing, or null
    std::filesystem::path pngFolder;   // frame-NNNNNN.png per frame, or empty
    std::filesystem::path rawFolder;   // frame-NNNNNN.raw per frame (the hashed bytes), or empty
    std::ostream* progress = nullptr;  // "frame N/M" with carriage returns, or null
};

struct FramesResult {
    std::int64_t delivered = 0;
    std::vector<std::string> failures;  // one line per frame the module did not deliver
};

// Asks for frames first..last and writes each one as it arrives; a frame the
// module fails is noted and the run goes on. Throws std::runtime_error when an
// output file cannot be written, HostError when the module breaks the protocol.
FramesResult writeFrames(norvikhost::FrameSession& session, norvikhost::FrameRequester& requester,
                         const FrameFormat& format, std::int64_t first, std::int64_t last, const FramesOutput& output);

}  // namespace norvikimport
