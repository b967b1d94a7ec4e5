// A clip opened for its frames, the way the host opens one before it plays it:
// imOpenFile8, imGetInfo8 for host stream 0 and imGetIndPixelFormat until
// imBadFormatIndex. Frames are then asked for by a FrameRequester
// (FrameRequester.h); close() gives the file back (imQuietFile, imCloseFile) and
// runs the host's frame checks.
//
// The module must have answered imInit. The driver and its Host must outlive the
// session. Not thread-safe itself; requesters may call the module from several
// threads if the module allows it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "norvikhost/ImporterDriver.h"
#include "prsdk/PrSDK.h"

namespace norvikhost {

// What the host learned about the clip's video.
struct ClipVideo {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t rateNumerator = 0;    // vidScale: frames per rateDenominator seconds
    std::int32_t rateDenominator = 0;  // vidSampleSize
    std::int64_t frameCount = 0;       // vidDuration / vidSampleSize
    std::uint32_t subType = 0;
    std::vector<prsdk::PrPixelFormat> pixelFormats;  // in the module's order
};

class FrameSession {
public:
    // Opens and describes the clip. Throws HostError naming the selector and the
    // module's answer when the clip cannot be opened or has no video; the file is
    // given back first.
    FrameSession(ImporterDriver& driver, const std::filesystem::path& clip);
    // Closes the clip if close() was not called (its problems are dropped then).
    ~FrameSession();
    FrameSession(const FrameSession&) = delete;
    FrameSession& operator=(const FrameSession&) = delete;

    ImporterDriver& driver() { return m_driver; }
    Host& host() { return m_driver.host(); }
    const ClipVideo& video() const { return m_video; }
    // The module's session for the clip (the host's private data of the file).
    void* privateData() const { return m_privateData; }

    // Ticks of one frame (ticks per second x rateDenominator / rateNumerator,
    // truncated), and the start of frame `index`: a whole multiple of it.
    prsdk::PrTime ticksPerFrame() const;
    prsdk::PrTime frameTime(std::int64_t index) const { return index * ticksPerFrame(); }

    // imQuietFile and imCloseFile, then the frame store's checks at close. Returns
    // what is wrong: the module's answers if not imNoErr, and the frame
    // problems (frames leaked, guard bytes overwritten); empty when all is well.
    std::vector<std::string> close();

private:
    void open(const std::filesystem::path& clip);
    void describe();

    ImporterDriver& m_driver;
    prsdk::imFileRef m_fileRef = nullptr;
    void* m_privateData = nullptr;
    bool m_open = false;
    ClipVideo m_video;
};

}  // namespace norvikhost
