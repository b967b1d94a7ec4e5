// The frame steps on sessions of small clips, in a substitute host: times to
// frames (hostile rates included), frame formats, empty frames, data that the
// file cannot hold, and decoding with its failures and its decompression state.
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <regex>
#include <tuple>

#include "ClipMaker.h"
#include "LogFiles.h"
#include "formats/Catalogue.h"
#include "importer/NorvikImporter.h"
#include "log/Text.h"
#include "norvikhost/Host.h"
#include "video/FrameSteps.h"
#include "video/SourceVideo.h"

using namespace prsdk;
namespace fs = std::filesystem;

namespace {

constexpr PrTime kTicks = 254016000000;
constexpr PrTime kPerFrame = kTicks * 1001 / 30000;  // 8475667200 ticks at 30000/1001
constexpr PrPixelFormat kYuy2 = PrPixelFormat_YUYV_422_8u_601, kUyvy = PrPixelFormat_UYVY_422_8u_601;

class FrameSteps : public ::testing::Test {
protected:
    void SetUp() override {
        hosttest::processProfile();
        buildPixelFormatTables({kYuy2, kUyvy});  // top-left, as hosts have them
    }

    // A session on a 16 x 8 clip of 8-bit 4:2:2 at 30000/1001 with the given frames
    // empty; a copy of its video description, for the tests to change.
    VideoInfo open(uint32_t frames, std::vector<uint32_t> empty = {}) {
        session.reset();  // it has the file open
        const fs::path path = folder.path() / "clip.avi";
        clipmaker::ClipPlan plan;
        plan.width = 16;
        plan.height = 8;
        plan.frames = frames;
        plan.rateNumerator = 30000;
        plan.rateDenominator = 1001;
        plan.emptyFrames = std::move(empty);
        plan.threads = 1;
        clipmaker::makeClip(path.string(), plan);
        session = std::make_unique<NorvikImporter>(host.stdParms());
        EXPECT_TRUE(session->open(toWide(path.string()), 0, 0));
        EXPECT_EQ(session->parse(0), imNoErr);
        return *session->video();
    }

    FrameJob job(PrTime time, std::vector<imFrameFormat> formats = {{16, 8, kYuy2}}) {
        imSourceVideoRec request{};
        request.inFrameTime = time;
        request.inFrameFormats = formats.data();
        request.inNumFrameFormats = static_cast<int32>(formats.size());
        return FrameJob(request, frameSourcesOf(*session));
    }

    // A frame of the session through the imGetSourceVideo handler, with the
    // fixture's decoder; the frame made is disposed of.
    int32_t run(PrTime time, PrPixelFormat format) {
        imFrameFormat wanted{16, 8, format};
        PPixHand out = nullptr;
        imSourceVideoRec request{};
        request.inFrameTime = time;
        request.inFrameFormats = &wanted;
        request.inNumFrameFormats = 1;
        request.outFrame = &out;
        const int32_t result = OnGetSourceVideo(*session, decoder, &request);
        HostFrame(frameSourcesOf(*session).ppix).adopt(out);
        return result;
    }

    hosttest::TempFolder folder;
    norvikhost::Host host;
    std::unique_ptr<NorvikImporter> session;
    FrameDecoder decoder;
};

}  // namespace

TEST_F(FrameSteps, TimesMapToFramesAndNothingOutsideTheClip) {
    VideoInfo video = open(10);
    for (PrTime n : {1, 7, 9}) {
        EXPECT_EQ(frameTimeToIndex(video, n * kPerFrame), uint32_t(n));
        EXPECT_EQ(frameTimeToIndex(video, n * kPerFrame - 1), uint32_t(n - 1)) << "one tick before frame " << n;
    }
    EXPECT_EQ(frameTimeToIndex(video, 10 * kPerFrame), 10u);
    for (PrTime t : {PrTime(-1), -kPerFrame, INT64_MIN}) EXPECT_EQ(frameTimeToIndex(video, t), kNoFrameIndex) << t;

    // Rates and time bases that give no positive whole tick per frame, or
    // quotients past 32 bits, name no frame (they must not wrap into the clip).
    using Hostile = std::tuple<int64_t, int32_t, int32_t, PrTime>;  // ticks per second, rate, time
    // The last three would land on frame 3 or 1 by plain signed arithmetic.
    const PrTime threeFrames = 3 * (kTicks / 25);
    for (const auto& [ticksPerSecond, numerator, denominator, time] :
         {Hostile{10, 25, 1, 5}, Hostile{0, 25, 1, 5}, Hostile{kTicks, 0, 1, 0}, Hostile{-kTicks, 25, 1, -threeFrames},
          Hostile{kTicks, -25, 1, -threeFrames}, Hostile{1, 1, 1, (PrTime(1) << 32) + 1}}) {
        video.ticksPerSecond = ticksPerSecond;
        video.fpsNumerator = numerator;
        video.fpsDenominator = denominator;
        EXPECT_EQ(frameTimeToIndex(video, time), kNoFrameIndex) << ticksPerSecond << " " << numerator;
        FrameJob j = job(time);
        EXPECT_EQ(selectFrame(video, j), imFrameNotFound);
    }
    // A frame longer than any time: every time is frame 0 (no overflow on the way).
    video.ticksPerSecond = kTicks;
    video.fpsNumerator = 1;
    video.fpsDenominator = INT32_MAX;
    EXPECT_EQ(frameTimeToIndex(video, INT64_MAX), 0u);
}

TEST_F(FrameSteps, OnlyTheFirstFormatCountsAndAZeroSizeIsTheClipSize) {
    const VideoInfo video = open(3);
    FrameJob any = job(0, {{0, 0, PrPixelFormat_UYVY_422_8u_601}, {3, 3, PrPixelFormat_BGRA_4444_8u}});
    ASSERT_EQ(selectFrame(video, any), imNoErr);
    EXPECT_EQ(any.frameFormats[0].inFrameWidth, 16);
    EXPECT_EQ(any.frameFormats[0].inFrameHeight, 8);
    FrameJob mismatch = job(0, {{16, 4, PrPixelFormat_YUYV_422_8u_601}});
    EXPECT_EQ(selectFrame(video, mismatch), imOtherErr);
    FrameJob none = job(0, {});
    EXPECT_EQ(selectFrame(video, none), imOtherErr);
}

TEST_F(FrameSteps, EmptyFramesReadTheNearestFrameBeforeElseAfter) {
    const auto readFor = [&](uint32_t index) {
        FrameJob j = job(PrTime(index) * kPerFrame);
        EXPECT_EQ(selectFrame(*session->video(), j), imNoErr);
        const int32_t result = readFrame(*session->video(), j);
        return std::make_pair(result,
                              std::vector<uint8_t>(j.compressedData.data(), j.compressedData.data() + j.frameSize));
    };
    open(8, {3, 4});
    EXPECT_EQ(readFor(4), readFor(2));
    open(8, {0, 1, 2, 3, 4});
    EXPECT_EQ(readFor(2), readFor(5));
    open(3, {0, 1, 2});
    EXPECT_EQ(readFor(1).first, imFrameNotFound);
}

TEST_F(FrameSteps, DataTheFileCannotHoldIsAReadFailureWithoutAllocating) {
    VideoInfo video = open(3);
    AviStream damaged = *video.stream;
    damaged.odmlIndexComplete = false;
    damaged.legacyFrames = damaged.frames();
    damaged.legacyFrames[1].size = 0xFFFFFFF0u;
    damaged.legacyFrames[2].offset = uint64_t(1) << 40;
    video.stream = &damaged;
    for (uint32_t index : {1u, 2u}) {
        FrameJob j = job(PrTime(index) * kPerFrame);
        ASSERT_EQ(selectFrame(video, j), imNoErr);
        EXPECT_EQ(readFrame(video, j), imFileReadFailed);
        EXPECT_EQ(j.compressedData.capacity(), 0u) << "nothing allocated for frame " << index;
    }
    session->closeFile();  // a file that cannot be read
    FrameJob j = job(0);
    ASSERT_EQ(selectFrame(video, j), imNoErr);
    EXPECT_EQ(readFrame(video, j), imFileReadFailed);
}

// A frame that does not decode, and the frame made for it disposed of, are
// FrameImport.DamagedClipsAndAFailingHostGetTheirAnswers'.
TEST_F(FrameSteps, FailedDecodesKeepTheStateRight) {
    open(3);
    EXPECT_THROW(run(0, PrPixelFormat_BGRA_4444_32f), std::runtime_error);

    // A format block the codec refuses: nothing is begun, and a later good one begins.
    auto refused = std::make_shared<VideoInfo>(*session->video());
    refused->formatBytes.assign(24, 0);
    FrameJob switched = job(0, {{16, 8, kUyvy}});
    ASSERT_EQ(selectFrame(*refused, switched), imNoErr);
    ASSERT_EQ(readFrame(*refused, switched), imNoErr);
    EXPECT_EQ(decoder.decode(refused, switched), imBadCompression);
    EXPECT_FALSE(decoder.decompressing());
    EXPECT_EQ(run(0, kUyvy), imNoErr);
    EXPECT_TRUE(decoder.decompressing());
    EXPECT_EQ(decoder.pixelFormat(), kUyvy);
}

TEST_F(FrameSteps, OnlyPixelFormatChangesEndAndBeginTheDecompression) {
    const logtest::LogFiles log("framesteps");
    log.start();
    open(3);
    for (PrPixelFormat format : {kYuy2, kYuy2, kUyvy, kUyvy, kYuy2}) EXPECT_EQ(run(0, format), imNoErr);
    ASSERT_EQ(session->parse(0), imNoErr);  // a new description: the decoder starts afresh
    EXPECT_EQ(run(0, kYuy2), imNoErr);
    const std::string messages = log.stop();
    const std::regex step("(Starting|ending) decompression");
    std::string sequence;
    for (std::sregex_iterator m(messages.begin(), messages.end(), step), end; m != end; ++m)
        sequence += (*m)[1] == "Starting" ? "begin " : "end ";
    EXPECT_EQ(sequence, "begin end begin end begin begin ");
    EXPECT_NE(messages.find("\nStarting decompression: Norvik YUV 4:2:2 8-bit [Rec.709] [LIMITED] -> "
                            "UYVY 4:2:2 8-bit [Rec.601] (pr: PrPixelFormat_UYVY_422_8u_601 [uyvy])\n"),
              std::string::npos);
}
