// Broken files through the whole open path of the real module: the AVI writer's
// faults, and stream format blocks the codec refuses. The module must answer with
// a result code (imBadFile for what it cannot read), never crash or hang, and the
// host must always get the file closed again. (Index faults that only make the
// parser fall back to idx1 all give the module the same clip, whose idx1 covers
// the first of several RIFF forms: AviIndex checks each, one stays here.)
#include <functional>
#include <gtest/gtest.h>

#include "ClipFixtures.h"

namespace fs = std::filesystem;
using namespace endtoend;
using namespace prsdk;

namespace {

struct FaultCase {
    std::string name;
    std::function<void(aviwriter::Options&)> apply;
};

RawClip faultyClip(const FaultCase& fault) {
    RawClip clip{.frames = 12, .audioFormats = {clipmaker::waveFormat(clipmaker::AudioPlan{})}, .audioBytes = 4800};
    clip.options.riffLimit = 1024;  // several RIFF forms, so every index kind is present
    fault.apply(clip.options);
    return clip;
}

// The answers any file must get: opened, stream 0 answered with a result the
// host knows, and the file given back.
void expectOrderlyAnswers(const norvikimport::ClipReport& report) {
    ASSERT_EQ(report.initResult, imNoErr);
    ASSERT_EQ(report.clip.openResult, imNoErr);
    ASSERT_FALSE(report.clip.streams.empty());
    const std::int32_t first = report.clip.streams.front().result;
    EXPECT_TRUE(first == imNoErr || first == imIterateStreams || first == imBadFile) << first;
    EXPECT_TRUE(report.clip.closed);
    EXPECT_EQ(report.clip.closeResult, imNoErr);
    if (first == imBadFile) return;
    EXPECT_EQ(report.clip.pixelFormats.endResult, imBadFormatIndex);
    EXPECT_EQ(report.clip.analysis.result, imNoErr);
    EXPECT_EQ(report.clip.dataRate.result, imNoErr);
    const auto& info = report.clip.streams.front().info;
    EXPECT_EQ(std::int64_t(report.clip.dataRate.samples.size()) * std::int64_t(info.vidSampleSize),
              std::int64_t(info.vidDuration));
}

std::int32_t streamZeroResult(const RawClip& clip) {
    TempFolder folder;
    const fs::path path = folder.path() / "fault.avi";
    writeRawClip(path, clip);
    const norvikimport::ClipReport report = inspect(path);
    expectOrderlyAnswers(report);
    return report.clip.streams.empty() ? -1 : report.clip.streams.front().result;
}

const std::vector<FaultCase> kFaults = {
    {"truncated in the headers", [](aviwriter::Options& o) { o.faults.truncateAt = 200; }},  // kept first
    {"truncated in the data", [](aviwriter::Options& o) { o.faults.truncateAt = 3000; }},
    {"RIFF size too large", [](aviwriter::Options& o) { o.faults.riffSizeDelta = 1 << 20; }},
    {"RIFF size too small", [](aviwriter::Options& o) { o.faults.riffSizeDelta = -100; }},
    {"movi size too large", [](aviwriter::Options& o) { o.faults.moviSizeDelta = 1 << 20; }},
    {"movi size too small", [](aviwriter::Options& o) { o.faults.moviSizeDelta = -50; }},
    {"standard index entry width", [](aviwriter::Options& o) { o.faults.stdLongsPerEntry = 5; }},
    {"super index entry too small", [](aviwriter::Options& o) { o.faults.superSmallSize = true; }},
    {"super index entry past the end", [](aviwriter::Options& o) { o.faults.superOffsetPastEnd = true; }},
    {"standard index base offset", [](aviwriter::Options& o) { o.faults.stdBaseOffsetDelta = 1ll << 40; }},
};

TEST(ClipInfoFaults, EveryWriterFaultGetsAResultCode) {
    for (const FaultCase& fault : kFaults) {
        SCOPED_TRACE(fault.name);
        const std::int32_t result = streamZeroResult(faultyClip(fault));
        EXPECT_TRUE(&fault != &kFaults[0] || result == imBadFile) << "headers cut short: " << result;
    }
    // Without its strh or strf the video stream cannot be described.
    for (bool omitHeader : {true, false}) {
        RawClip clip;
        (omitHeader ? clip.video.omitStrh : clip.video.omitStrf) = true;
        EXPECT_EQ(streamZeroResult(clip), imBadFile) << (omitHeader ? "strl without strh" : "strl without strf");
    }
}

// Every byte of the codec's 24-byte stream format block set to values that
// break it, and the block cut short or grown: the codec accepts it or refuses it
// (imBadFile), nothing else.
TEST(ClipInfoFaults, CorruptStreamFormatBlocks) {
    const std::vector<std::uint8_t> good = clipmaker::streamFormatBlock(smallPlan());
    std::vector<std::vector<std::uint8_t>> blocks;
    for (std::size_t at = 0; at < good.size(); ++at)
        for (int value : {0x00, 0xFF, good[at] ^ 0x01})
            if (value != good[at]) {
                blocks.push_back(good);
                blocks.back()[at] = std::uint8_t(value);
            }
    for (std::size_t size : {1, 23, 25, 4096}) {
        blocks.push_back(good);
        blocks.back().resize(size, 0);
    }
    int refused = 0;
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        SCOPED_TRACE("block " + std::to_string(k));
        RawClip clip;
        clip.video = rawVideo(blocks[k]);
        const std::int32_t result = streamZeroResult(clip);
        EXPECT_TRUE(result == imNoErr || result == imBadFile) << result;
        refused += result == imBadFile;
    }
    EXPECT_GT(refused, 0);
}

}  // namespace
