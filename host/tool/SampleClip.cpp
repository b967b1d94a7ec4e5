#include "SampleClip.h"

#include <random>
#include <stdexcept>
#include <string>

#include "norvikhost/Platform.h"

namespace norvikimport {

namespace fs = std::filesystem;

clipmaker::ClipPlan sampleClipPlan() {
    clipmaker::ClipPlan plan;
    plan.type = 104;
    plan.width = 640;
    plan.height = 360;
    plan.rateNumerator = 30000;
    plan.rateDenominator = 1001;
    plan.frames = 60;
    plan.audio.push_back(clipmaker::AudioPlan{});
    return plan;
}

SampleClip::SampleClip() {
    // The codec library is loaded at its first use (delay-loaded on Windows): a
    // missing one is named here rather than ending the program.
    norvikhost::requireLibrary(norvikhost::codecLibraryFileName());
    std::random_device random;
    for (int attempt = 0; attempt < 100 && m_folder.empty(); ++attempt) {
        fs::path candidate = fs::temp_directory_path() / ("norvik-import-" + std::to_string(random()));
        if (fs::create_directory(candidate)) m_folder = candidate;
    }
    if (m_folder.empty())
        throw std::runtime_error("cannot make a temporary folder in " + fs::temp_directory_path().string());
    m_clip = m_folder / "sample.avi";
    const std::u8string utf8 = m_clip.u8string();
    clipmaker::makeClip(std::string(utf8.begin(), utf8.end()), sampleClipPlan());
}

SampleClip::~SampleClip() {
    std::error_code ignored;
    fs::remove_all(m_folder, ignored);
}

}  // namespace norvikimport
