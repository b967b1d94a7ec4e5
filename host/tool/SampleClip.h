// The clip norvik-import shows when no file is given: 8-bit 4:2:2 video at
// 30000/1001 with one stereo 16-bit audio stream, two seconds long, written into a
// temporary folder that lives as long as the SampleClip.
#pragma once

#include <filesystem>

#include "ClipMaker.h"

namespace norvikimport {

clipmaker::ClipSpec sampleClipSpec();

class SampleClip {
public:
    // Writes the clip; throws std::runtime_error when it cannot.
    SampleClip();
    ~SampleClip();  // removes the folder
    SampleClip(const SampleClip&) = delete;
    SampleClip& operator=(const SampleClip&) = delete;
    const std::filesystem::path& path() const { return m_clip; }

private:
    std::filesystem::path m_folder;
    std::filesystem::path m_clip;
};

}  // namespace norvikimport
