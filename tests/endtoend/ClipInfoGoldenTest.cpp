// norvik-import info on clips of every kind, against reference text kept in
// golden/. NORVIK_UPDATE_GOLDEN=1 rewrites the reference files instead.
#include <algorithm>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

#include "ClipFixtures.h"

namespace fs = std::filesystem;
using namespace endtoend;
using clipmaker::AudioPlan;
using clipmaker::ClipPlan;

namespace {

using Maker = std::function<void(const fs::path&)>;

struct GoldenCase {
    std::string name;
    Maker make;
    bool json = false;
};

// A clip of the clip maker: smallPlan() as `edit` changes it.
Maker planned(std::function<void(ClipPlan&)> edit) {
    return [=](const fs::path& path) {
        ClipPlan plan = smallPlan();
        edit(plan);
        clipmaker::makeClip(utf8(path), plan);
    };
}

// A clip of empty frames written directly (writeRawClip).
Maker raw(const RawClip& clip) {
    return [=](const fs::path& path) { writeRawClip(path, clip); };
}

Maker audio(std::vector<AudioPlan> streams) {
    return planned([=](ClipPlan& plan) { plan.audio = streams; });
}

Maker rawAudio(std::vector<std::vector<std::uint8_t>> formats) {
    return raw({.audioFormats = formats, .audioBytes = 64});
}

// Without idx1, so that millions of frames stay cheap.
Maker longClip(std::uint32_t frames, std::uint32_t rate, std::uint32_t scale) {
    RawClip clip{.frames = frames};
    clip.video.rate = rate;
    clip.video.scale = scale;
    clip.options.idx1 = false;
    return raw(clip);
}

std::vector<GoldenCase> allCases() {
    std::vector<std::uint8_t> adpcm = clipmaker::waveFormat({2, 48000, 16, false, false});
    adpcm[0] = 2;
    std::vector<GoldenCase> cases = {
        {"audio-one-16bit-stereo", audio({AudioPlan{}})},
        {"audio-three-streams",
         audio({{1, 22050, 8, false, false}, {6, 48000, 24, false, true}, {2, 96000, 32, true, true}})},
        {"audio-32bit-int-8ch-plain", audio({{8, 48000, 32, false, false}})},
        {"audio-float-mono-plain", audio({{1, 44100, 32, true, false}})},
        {"audio-32ch-16bit-extensible", audio({{32, 48000, 16, false, true}})},
        {"audio-8bit-stereo-extensible", audio({{2, 8000, 8, false, true}})},
        {"audio-refused-format-tag", rawAudio({adpcm})},
        {"audio-refused-33-channels", rawAudio({clipmaker::waveFormat({33, 48000, 16, false, false})})},
        {"audio-two-refused-streams", rawAudio({adpcm, adpcm})},
        {"rate-zero",
         [](const fs::path& path) {
             clipmaker::makeClip(utf8(path), smallPlan());
             std::string bytes = hosttest::readFile(path);
             bytes.replace(bytes.find("strh") + 32, 4, 4, '\0');  // the video stream header's dwRate
             std::ofstream(path, std::ios::binary) << bytes;
         }},
        // Frames x denominator above 2^31 - 1: the rate is scaled down.
        {"duration-guard-wide-denominator", longClip(2148, 1500001, 1000000)},
        {"duration-guard-ten-million", longClip(10000000, 30000, 1001)},
        {"field-upper-first", planned([](ClipPlan& plan) { plan.fieldType = 1; })},
        {"field-lower-first", planned([](ClipPlan& plan) { plan.fieldType = 2; })},
        {"empty-frames", planned([](ClipPlan& plan) {
             plan.frames = 5;
             plan.emptyFrames = {1, 3};
         })},
        {"video-format-refused-by-codec", raw({.video = rawVideo(std::vector<std::uint8_t>(24, 0xFF))})},
        {"video-format-40-bytes", raw({.video = rawVideo({})})},
        {"json-sample", planned([](ClipPlan& plan) {
             plan.frames = 4;
             plan.audio = {AudioPlan{}};
         }),
         true},
    };
    for (std::uint32_t type :
         {101u, 102u, 103u, 104u, 105u, 106u, 107u, 108u, 109u, 110u, 111u, 112u, 113u, 114u, 115u, 118u, 123u})
        cases.push_back({"type-" + std::to_string(type), planned([type](ClipPlan& plan) { plan.type = type; })});
    for (const auto& [rate, scale] :
         {std::pair{30000u, 1001u}, {2997u, 100u}, {24000u, 1001u}, {25u, 1u}, {50u, 2u}, {1u, 1000u}})
        cases.push_back({"rate-" + std::to_string(rate) + "-" + std::to_string(scale), planned([=](ClipPlan& plan) {
                             plan.rateNumerator = rate;
                             plan.rateDenominator = scale;
                         })});
    for (const auto& [kind, name] : {std::pair{clipmaker::IndexKind::OpenDml, "opendml"},
                                     {clipmaker::IndexKind::Idx1, "idx1"},
                                     {clipmaker::IndexKind::Both, "both"}})
        cases.push_back({std::string("index-") + name, planned([=](ClipPlan& plan) {
                             plan.frames = 5;
                             plan.audio = {AudioPlan{}};
                             plan.index = kind;
                         })});
    return cases;
}

class ClipInfoGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(ClipInfoGolden, MatchesReference) {
    const GoldenCase& c = GetParam();
    TempFolder folder;
    const fs::path clip = folder.path() / (c.name + ".avi");
    c.make(clip);
    const norvikimport::ClipReport report = inspect(clip);
    const std::string text = c.json ? norvikimport::clipJson(report) : norvikimport::clipText(report);
    hosttest::expectGolden(fs::path(NORVIK_GOLDEN_DIR) / (c.name + (c.json ? ".json" : ".txt")), text);
}

INSTANTIATE_TEST_SUITE_P(Clips, ClipInfoGolden, testing::ValuesIn(allCases()),
                         [](const testing::TestParamInfo<GoldenCase>& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
