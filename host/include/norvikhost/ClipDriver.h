// Plays the host's order for one clip file through a loaded importer module and
// keeps every answer: imOpenFile8; imGetInfo8 for host stream 0, 1, ... while the
// module answers imIterateStreams; the pixel formats until imBadFormatIndex;
// imAnalysis; imDataRateAnalysis (size first, then the samples); imQuietFile;
// imCloseFile. A session describes only the host stream it was last asked about,
// so when the iteration went past stream 0 the driver asks for stream 0 again
// before the video questions. A step the module answers with an error ends the sequence early
// (the file is still closed when it was opened); nothing the module writes is
// trusted beyond the host's own buffers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "norvikhost/ImporterDriver.h"
#include "prsdk/PrSDK.h"

namespace norvikhost {

// imGetInfo8 for one host stream: the result and the record as the module left it.
struct StreamInfoAnswer {
    std::int32_t streamIdx = 0;
    std::int32_t result = 0;
    prsdk::imFileInfoRec8 info{};
};

struct PixelFormatListAnswer {
    std::vector<prsdk::PrPixelFormat> formats;  // answered with imNoErr, in order
    std::int32_t endResult = 0;                 // the answer that ended the list
    std::int32_t endIndex = 0;                  // the index it was given for
};

struct AnalysisAnswer {
    bool asked = false;
    std::int32_t result = 0;
    std::int32_t bufferSize = 0;  // the size of the buffer that gave `text`
    std::string text;             // up to the first NUL within the buffer
};

struct DataRateAnswer {
    bool asked = false;
    std::int32_t sizeResult = 0;     // answer to the call without a buffer
    std::int32_t requestedSize = 0;  // buffersize the module asked for
    std::int32_t result = 0;         // answer to the call with the buffer
    std::int32_t baseRate = 0;
    std::vector<prsdk::imDataSample> samples;
    std::string problem;  // why the second call was not made
};

struct ClipAnswers {
    std::int32_t openResult = 0;
    bool opened = false;  // imOpenFile8 answered imNoErr
    std::vector<StreamInfoAnswer> streams;
    bool reselected = false;  // imGetInfo8 for stream 0 was asked again
    std::int32_t reselectResult = 0;
    PixelFormatListAnswer pixelFormats;
    bool pixelFormatsAsked = false;
    AnalysisAnswer analysis;
    DataRateAnswer dataRate;
    std::int32_t quietResult = 0;
    std::int32_t closeResult = 0;
    bool closed = false;  // imQuietFile and imCloseFile were called
};

// Host ID written to vidInfo.importerID of every imGetInfo8 record.
constexpr std::int32_t kHostImporterId = 4242;
// Bounds that keep a misbehaving module from running the host forever.
constexpr std::int32_t kMaxHostStreams = 1024;
constexpr std::int32_t kMaxPixelFormats = 256;
constexpr std::int32_t kMaxAnalysisBytes = 1 << 20;
constexpr std::int32_t kMaxDataRateBytes = 1 << 30;

// Runs the clip sequence on `path` (imInit must have been answered already).
// Throws HostError only when the module lets an exception escape; the file is
// closed first when it was opened.
ClipAnswers playClip(ImporterDriver& driver, const std::filesystem::path& path);

}  // namespace norvikhost
