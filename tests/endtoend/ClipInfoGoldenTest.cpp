// norvik-import info on clips of every kind, against reference text kept in
// golden/. NORVIK_UPDATE_GOLDEN=1 rewrites the reference files instead.
#include <functional>
#include <gtest/gtest.h>

#include "ClipFixtures.h"

namespace fs = std::filesystem;
using namespace endtoend;
using clipmaker::AudioSpec;
using clipmaker::ClipSpec;

namespace {

using Maker = std::function<void(const fs::path&)>;

struct GoldenCase {
    std::string name;
    Maker make;
    bool json = false;
};

Maker fromSpec(ClipSpec plan) {
    return [plan](const fs::path& path) { clipmaker::makeClip(utf8(path), plan); };
}

Maker withAudio(std::vector<AudioSpec> audio) {
    ClipSpec plan = smallSpec();
    plan.audio = std::move(audio);
    return fromSpec(plan);
}

Maker withRate(std::uint32_t rate, std::uint32_t scale) {
    ClipSpec plan = smallSpec();
    plan.rateNumerator = rate;
    plan.rateDenominator = scale;
    return fromSpec(plan);
}

Maker patchedRate(std::uint32_t rate, std::uint32_t scale) {
    return [=](const fs::path& path) {
        clipmaker::makeClip(utf8(path), smallSpec());
        patchVideoRate(path, rate, scale);
    };
}

Maker withIndex(clipmaker::IndexKind kind) {
    ClipSpec plan = smallSpec(104, 5);
    plan.audio = {AudioSpec{}};
    plan.index = kind;
    return fromSpec(plan);
}

Maker withField(std::uint32_t fieldType) {
    ClipSpec plan = smallSpec();
    plan.fieldType = fieldType;
    return fromSpec(plan);
}

Maker raw(RawClip clip) {
    return [clip](const fs::path& path) { writeRawClip(path, clip); };
}

RawClip rawWithAudioFormats(std::vector<std::vector<std::uint8_t>> formats) {
    RawClip clip;
    clip.audioFormats = std::move(formats);
    clip.audioBytes = 64;
    return clip;
}

RawClip longClip(std::uint32_t frames, std::uint32_t rate, std::uint32_t scale) {
    RawClip clip;
    clip.frames = frames;
    clip.rate = rate;
    clip.scale = scale;
    clip.options.idx1 = false;
    return clip;
}

std::vector<GoldenCase> typeCases() {
    std::vector<GoldenCase> cases;
    for (std::uint32_t type :
         {101u, 102u, 103u, 104u, 105u, 106u, 107u, 108u, 109u, 110u, 111u, 112u, 113u, 114u, 115u, 118u, 123u})
        cases.push_back({"type-" + std::to_string(type), fromSpec(smallSpec(type))});
    return cases;
}

std::vector<GoldenCase> audioCases() {
    const AudioSpec adpcmLike{2, 48000, 16, false, false};
    std::vector<std::uint8_t> adpcm = clipmaker::waveFormat(adpcmLike);
    adpcm[0] = 2;
    return {
        {"audio-one-16bit-stereo", withAudio({AudioSpec{}})},
        {"audio-three-streams",
         withAudio({{1, 22050, 8, false, false}, {6, 48000, 24, false, true}, {2, 96000, 32, true, true}})},
        {"audio-32bit-int-8ch-plain", withAudio({{8, 48000, 32, false, false}})},
        {"audio-float-mono-plain", withAudio({{1, 44100, 32, true, false}})},
        {"audio-32ch-16bit-extensible", withAudio({{32, 48000, 16, false, true}})},
        {"audio-8bit-stereo-extensible", withAudio({{2, 8000, 8, false, true}})},
        {"audio-refused-format-tag", raw(rawWithAudioFormats({adpcm}))},
        {"audio-refused-33-channels", raw(rawWithAudioFormats({clipmaker::waveFormat({33, 48000, 16, false, false})}))},
        {"audio-two-refused-streams", raw(rawWithAudioFormats({adpcm, adpcm}))},
    };
}

std::vector<GoldenCase> rateCases() {
    return {
        {"rate-30000-1001", withRate(30000, 1001)},
        {"rate-2997-100", withRate(2997, 100)},
        {"rate-24000-1001", withRate(24000, 1001)},
        {"rate-25-1", withRate(25, 1)},
        {"rate-50-2", withRate(50, 2)},
        {"rate-zero", patchedRate(0, 1)},
        {"rate-1-1000", withRate(1, 1000)},
        // Frames x denominator above 2^31 - 1: the rate is scaled down.
        {"duration-guard-wide-denominator", raw(longClip(2148, 1500001, 1000000))},
        {"duration-guard-ten-million", raw(longClip(10000000, 30000, 1001))},
    };
}

std::vector<GoldenCase> layoutCases() {
    ClipSpec empties = smallSpec(104, 5);
    empties.emptyFrames = {1, 3};
    RawClip refusedBlock;
    refusedBlock.videoExtra.assign(24, 0xFF);
    RawClip bareHeader;
    bareHeader.omitVideoExtra = true;
    ClipSpec sample = smallSpec(104, 4);
    sample.audio = {AudioSpec{}};
    return {
        {"index-opendml", withIndex(clipmaker::IndexKind::OpenDml)},
        {"index-idx1", withIndex(clipmaker::IndexKind::Idx1)},
        {"index-both", withIndex(clipmaker::IndexKind::Both)},
        {"field-upper-first", withField(1)},
        {"field-lower-first", withField(2)},
        {"empty-frames", fromSpec(empties)},
        {"video-format-refused-by-codec", raw(refusedBlock)},
        {"video-format-40-bytes", raw(bareHeader)},
        {"json-sample", fromSpec(sample), true},
    };
}

std::vector<GoldenCase> allCases() {
    std::vector<GoldenCase> cases;
    for (auto part : {typeCases, audioCases, rateCases, layoutCases}) {
        std::vector<GoldenCase> more = part();
        cases.insert(cases.end(), more.begin(), more.end());
    }
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
                             for (char& ch : name)
                                 if (ch == '-') ch = '_';
                             return name;
                         });

}  // namespace
