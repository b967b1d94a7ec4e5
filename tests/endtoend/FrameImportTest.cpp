// Frames through the loaded module in the substitute host: every compressed
// type in every pixel format the module offers equals the codec library alone
// (that the codec's conversions are right is ConversionTest's); the asynchronous
// importer lists every type as imGetSourceVideo does, also when the playhead
// jumps; the md5 listing matches the golden one (on every platform); damaged
// clips, a failing host and a failing open get their answers.
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "ClipChunks.h"
#include "ClipFixtures.h"
#include "FramesRun.h"
#include "ReferenceDecoder.h"
#include "norvikhost/AsyncFrameRequester.h"
#include "norvikhost/RenderThreadsRequester.h"
#include "norvikhost/Host.h"
#include "norvikhost/HostError.h"
#include "norvikhost/PixelFormatNames.h"
#include "norvikhost/PixelLayout.h"

namespace fs = std::filesystem;
using namespace norvikhost;
using namespace norvikimport;
using namespace prsdk;

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kTypes[] = {101, 102, 103, 104, 105, 106, 107, 108, 109,
                                    110, 111, 112, 113, 114, 115, 118, 123};

// Odd numbers of 6-pixel v210 groups and of 4:2:2 pairs; even for 4:2:0.
clipmaker::ClipPlan planOf(std::uint32_t type, std::uint32_t width = 38, std::uint32_t height = 10) {
    clipmaker::ClipPlan plan = endtoend::smallPlan(type, 2);
    plan.width = width;
    plan.height = height;
    plan.colorSpace = 1;
    return plan;
}

// The framemd5 listing of every frame of the session's clip through `requester`.
std::string listing(FrameSession& session, FrameRequester& requester, const FrameFormat& format) {
    std::ostringstream md5;
    FramesOutput output;
    output.md5 = &md5;
    EXPECT_TRUE(writeFrames(session, requester, format, 0, session.video().frameCount - 1, output).failures.empty());
    return md5.str();
}

class FrameImport : public ::testing::Test {
protected:
    void SetUp() override {
        driver = std::make_unique<ImporterDriver>(host, endtoend::modulePath());
        ASSERT_EQ(driver->init().result, imNoErr);
    }
    void TearDown() override {
        driver->shutdown();
        EXPECT_EQ(host.outstandingSuites(), 0);
    }

    fs::path clip(const clipmaker::ClipPlan& plan, const std::string& name) {
        const fs::path path = folder.path() / name;
        clipmaker::makeClip(endtoend::utf8(path), plan);
        return path;
    }

    endtoend::TempFolder folder;
    Host host;
    std::unique_ptr<ImporterDriver> driver;
};

}  // namespace

// Each type in each pixel format the module offers, against the codec alone (an
// empty frame shows the one before it); then the listings of the asynchronous
// importer and of three render threads on the session against imGetSourceVideo's,
// and the asynchronous importer's frames after jumps of the playhead.
TEST_F(FrameImport, EveryTypeEqualsTheCodecAloneInEveryFormatAndThroughTheAsyncImporter) {
    for (std::uint32_t type : kTypes) {
        clipmaker::ClipPlan plan = planOf(type);
        plan.frames = 6;
        plan.emptyFrames = {2};
        const fs::path path = clip(plan, "type" + std::to_string(type) + ".avi");
        const ClipChunks chunks = readClipChunks(path);
        std::ifstream file(path, std::ios::binary);
        FrameSession session(*driver, path);
        ASSERT_FALSE(session.video().pixelFormats.empty()) << type;
        for (PrPixelFormat pixelFormat : session.video().pixelFormats) {
            const std::string what = std::to_string(type) + " into " + pixelFormatText(pixelFormat);
            const FrameFormat* format = findFrameFormat(pixelFormat);
            ASSERT_NE(format, nullptr) << what;
            ReferenceDecoder reference(chunks.streamFormat, *format, 38, 10, hostRowBytes(pixelFormat, 38),
                                       !host.originTopLeft(pixelFormat));
            SourceVideoRequester requester(session, pixelFormat);
            for (std::uint32_t i = 0; i < plan.frames; ++i) {
                const FrameAnswer answer = requester.request(i);
                ASSERT_EQ(answer.result, imNoErr) << what;
                const Bytes compressed = readChunk(file, chunks.frames[i]);
                if (!compressed.empty()) reference.decode(compressed.data(), std::uint32_t(compressed.size()));
                EXPECT_EQ(answer.frame.picture(), reference.picture(packedRowBytes(pixelFormat, 38)))
                    << what << ", frame " << i;
            }
        }
        const FrameFormat& format = chooseFrameFormat(session.video(), "");
        SourceVideoRequester sync(session, format.pixelFormat);
        const std::string expected = listing(session, sync, format);
        {
            RenderThreadsRequester threads(session, format.pixelFormat, 3);
            EXPECT_EQ(listing(session, threads, format), expected) << type;
        }
        {
            AsyncImporter importer(session);
            AsyncFrameRequester async(session, importer, format.pixelFormat, 3);
            EXPECT_EQ(listing(session, async, format), expected) << type;
            for (std::int64_t index : {4, 5, 0, 1, 3, 1}) {
                const FrameAnswer answer = async.request(index);
                ASSERT_EQ(answer.result, aiNoError) << type;
                EXPECT_EQ(answer.frame.picture(), sync.request(index).frame.picture()) << type << ", frame " << index;
            }
            EXPECT_EQ(async.flushes(), 2) << "the jumps to 3 and to 1 left frames announced";
            EXPECT_EQ(importer.close(), aiNoError);
        }
        EXPECT_TRUE(session.close().empty()) << type;
    }
    EXPECT_EQ(host.frames().liveCount(), 0u);
}

TEST_F(FrameImport, TheHostGetsNoAsyncImporterWhenItsOwnOpenFails) {
    const fs::path path = clip(planOf(104), "gone.avi");
    FrameSession session(*driver, path);
    imFileRef fileRef = nullptr;  // the host quiets the clip, and its file goes away
    ASSERT_EQ(driver->call(imQuietFile, &fileRef, session.privateData()), imNoErr);
    ASSERT_TRUE(fs::remove(path));
    const AsyncCreation creation = createAsyncImporter(session);
    EXPECT_EQ(creation.result, imBadFile);
    EXPECT_EQ(creation.entry, nullptr);
    EXPECT_EQ(creation.privateData, nullptr);
    EXPECT_THROW(AsyncImporter importer(session), HostError);
    EXPECT_TRUE(session.close().empty());
}

TEST_F(FrameImport, Md5ListingsMatchTheGoldenOneOnEveryPlatform) {
    clipmaker::ClipPlan yuv = planOf(104, 48, 16);
    yuv.frames = 4;
    yuv.emptyFrames = {2};
    yuv.rateNumerator = 30000;
    yuv.rateDenominator = 1001;
    std::string text;  // in the first format offered, then in bgra
    for (const auto& [plan, code] : {std::pair{yuv, ""}, {planOf(102, 48, 16), "bgra"}}) {
        FrameSession session(*driver, clip(plan, std::to_string(plan.type) + ".avi"));
        const FrameFormat& format = chooseFrameFormat(session.video(), code);
        SourceVideoRequester requester(session, format.pixelFormat);
        text += listing(session, requester, format);
        EXPECT_TRUE(session.close().empty());
    }
    hosttest::expectGolden(fs::path(NORVIK_GOLDEN_DIR) / "frames-md5.txt", text);
}

TEST_F(FrameImport, DamagedClipsAndAFailingHostGetTheirAnswers) {
    const fs::path path = clip(planOf(104, 16, 8), "damaged.avi");
    std::string bytes = hosttest::readFile(path);
    bytes.replace(std::size_t(readClipChunks(path).frames[1].offset), 4, "XXXX");  // no longer starts like a frame
    std::ofstream(path, std::ios::binary) << bytes;
    {
        FrameSession session(*driver, path);
        SourceVideoRequester requester(session, PrPixelFormat_YUYV_422_8u_601);
        EXPECT_EQ(requester.request(0).result, imNoErr);
        EXPECT_EQ(requester.request(1).result, imBadCompression);
        host.setCreatePPixFails(true);
        EXPECT_EQ(requester.request(0).result, imOtherErr);
        host.setCreatePPixFails(false);
        EXPECT_TRUE(session.close().empty()) << "every frame made for a failure was disposed of";
    }
    for (const char* suite : {kPrSDKPPixSuite, kPrSDKPPixCreatorSuite}) {
        host.failAcquisition(suite);
        FrameSession session(*driver, path);
        EXPECT_EQ(SourceVideoRequester(session, PrPixelFormat_YUYV_422_8u_601).request(0).result, imUnknownError);
        ASSERT_FALSE(host.errorEvents().empty());
        EXPECT_NE(host.errorEvents().back().description.find(std::string("Could not acquire suite: '") + suite),
                  std::string::npos)
            << host.errorEvents().back().description;
        host.failAcquisition(suite, false);
        EXPECT_TRUE(session.close().empty());
    }
}
