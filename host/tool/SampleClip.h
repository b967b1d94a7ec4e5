// The clip norvik-import shows when no file is given: 8-bit 4:2:2 video at
// 30000/1001 with one stereo 16-bit audio stream, two seconds long, written into a
// temporary folder that lives as long as the SampleClip.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "ClipMaker.h"

namespace norvikimport {

clipmaker::ClipPlan sampleClipPlan();

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

// The clip a command works on: FILE, or the sample clip (kept as long as this
// lives) when FILE was left out.
class ClipArgument {
public:
    explicit ClipArgument(const std::string& file) : m_path(file) {
        if (file.empty()) m_path = m_sample.emplace().path();
    }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::optional<SampleClip> m_sample;
    std::filesystem::path m_path;
};

}  // namespace norvikimport
