// Broken files through the whole open path of the real module: every fault the
// AVI writer can make, and stream format blocks the codec refuses. The module
// must answer with a result code (imBadFile for what it cannot read), never
// crash or hang, and the host must always get the file closed again.
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
    RawClip clip;
    clip.frames = 12;
    clip.audioFormats = {clipmaker::waveFormat(clipmaker::AudioSpec{})};
    clip.audioBytes = 4800;
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
    {"super index entry width", [](aviwriter::Options& o) { o.faults.superLongsPerEntry = 3; }},
    {"standard index entry width", [](aviwriter::Options& o) { o.faults.stdLongsPerEntry = 5; }},
    {"super index claims more entries", [](aviwriter::Options& o) { o.faults.superExtraEntries = 1000; }},
    {"standard index claims more entries", [](aviwriter::Options& o) { o.faults.stdExtraEntries = 100000; }},
    {"super index entry too small", [](aviwriter::Options& o) { o.faults.superSmallSize = true; }},
    {"super index entry past the end", [](aviwriter::Options& o) { o.faults.superOffsetPastEnd = true; }},
    {"standard index base offset", [](aviwriter::Options& o) { o.faults.stdBaseOffsetDelta = 1ll << 40; }},
    {"idx1 with extra bytes", [](aviwriter::Options& o) { o.faults.idx1ExtraBytes = 7; }},
    {"super index repeats its first entry", [](aviwriter::Options& o) { o.faults.superRepeatsFirst = true; }},
    {"super index names itself", [](aviwriter::Options& o) { o.faults.superPointsToIndx = true; }},
};

TEST(ClipInfoFaults, EveryWriterFaultGetsAResultCode) {
    for (const FaultCase& fault : kFaults) {
        SCOPED_TRACE(fault.name);
        streamZeroResult(faultyClip(fault));
    }
}

TEST(ClipInfoFaults, HeadersCutShortAreABadFile) {
    EXPECT_EQ(streamZeroResult(faultyClip(kFaults[0])), imBadFile) << kFaults[0].name;
}

TEST(ClipInfoFaults, MissingStreamChunks) {
    // Without its strh or strf the video stream cannot be described.
    for (bool omitHeader : {true, false}) {
        SCOPED_TRACE(omitHeader ? "strl without strh" : "strl without strf");
        TempFolder folder;
        const fs::path path = folder.path() / "missing.avi";
        auto video =
            aviwriter::videoStream(makeFourCC("NRVK"), 64, 32, 25, 1, 24, clipmaker::streamFormatBlock(smallSpec()));
        (omitHeader ? video.omitStrh : video.omitStrf) = true;
        aviwriter::AviWriter writer(utf8(path));
        const int stream = writer.addVideoStream(video);
        writer.writeChunk(stream, nullptr, 0);
        writer.finish();
        const norvikimport::ClipReport report = inspect(path);
        expectOrderlyAnswers(report);
        EXPECT_EQ(report.clip.streams.front().result, imBadFile);
    }
}

// Every byte of the codec's 24-byte stream format block, set to values that
// break it: the codec accepts the block or refuses it (imBadFile), nothing else.
TEST(ClipInfoFaults, CorruptStreamFormatBlocks) {
    const std::vector<std::uint8_t> good = clipmaker::streamFormatBlock(smallSpec());
    int refused = 0;
    for (std::size_t at = 0; at < good.size(); ++at) {
        for (std::uint8_t value : {std::uint8_t(0x00), std::uint8_t(0xFF), std::uint8_t(good[at] ^ 0x01)}) {
            if (value == good[at]) continue;
            RawClip clip;
            clip.videoExtra = good;
            clip.videoExtra[at] = value;
            SCOPED_TRACE("byte " + std::to_string(at) + " = " + std::to_string(value));
            const std::int32_t result = streamZeroResult(clip);
            EXPECT_TRUE(result == imNoErr || result == imBadFile) << result;
            if (result == imBadFile) ++refused;
        }
    }
    EXPECT_GT(refused, 0);
    // A block cut short or grown is the codec's to refuse too.
    for (std::size_t size : {std::size_t(1), std::size_t(23), std::size_t(25), std::size_t(4096)}) {
        RawClip clip;
        clip.videoExtra = good;
        clip.videoExtra.resize(size, 0);
        SCOPED_TRACE("block of " + std::to_string(size) + " bytes");
        const std::int32_t result = streamZeroResult(clip);
        EXPECT_TRUE(result == imNoErr || result == imBadFile) << result;
    }
}

}  // namespace
