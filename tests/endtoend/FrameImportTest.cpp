// Frames through imGetSourceVideo of the loaded module, in the substitute host:
// every compressed type in every pixel format the module offers equals the codec
// library alone, and the stored samples where the format carries them (that the
// codec's conversions are right is ConversionTest's); the md5 listing matches the
// golden one (on every platform); damaged clips and a failing host get their answers.
#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>

#include "ClipChunks.h"
#include "ClipFixtures.h"
#include "FramesRun.h"
#include "ReferenceDecoder.h"
#include "norvikhost/FrameRequester.h"
#include "norvikhost/Host.h"
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
clipmaker::ClipSpec specOf(std::uint32_t type, std::uint32_t width = 38, std::uint32_t height = 10) {
    clipmaker::ClipSpec plan = endtoend::smallSpec(type, 2);
    plan.width = width;
    plan.height = height;
    plan.colorSpace = 1;
    return plan;
}

// The picture the clip maker encoded, in `format`, when the format carries the
// stored samples unchanged (the clip is Rec.601, limited range).
std::optional<Bytes> storedSamples(std::uint32_t type, PrPixelFormat format, const clipmaker::Frame& f) {
    const auto at = [&](int p, std::uint32_t x, std::uint32_t y) {
        const std::uint32_t w = f.planeWidth(p);
        return f.planes[p][std::size_t(y) * w + std::min(x, w - 1)];
    };
    Bytes out;
    const auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
    };
    for (std::uint32_t y = 0; y < f.height; ++y) {
        if (type == 104 && (format == PrPixelFormat_YUYV_422_8u_601 || format == PrPixelFormat_UYVY_422_8u_601)) {
            for (std::uint32_t p = 0; p < f.width / 2; ++p) {
                const Bytes yuyv = {std::uint8_t(at(0, 2 * p, y)), std::uint8_t(at(1, p, y)),
                                    std::uint8_t(at(0, 2 * p + 1, y)), std::uint8_t(at(2, p, y))};
                const bool uyvy = format == PrPixelFormat_UYVY_422_8u_601;
                out.insert(out.end(), {uyvy ? yuyv[1] : yuyv[0], uyvy ? yuyv[0] : yuyv[1], uyvy ? yuyv[3] : yuyv[2],
                                       uyvy ? yuyv[2] : yuyv[3]});
            }
        } else if ((type == 102 && format == PrPixelFormat_BGRA_4444_8u) ||
                   (type == 101 && format == PrPixelFormat_BGRX_4444_8u)) {
            for (std::uint32_t x = 0; x < f.width; ++x)  // planes G, B, R, A
                out.insert(out.end(), {std::uint8_t(at(1, x, y)), std::uint8_t(at(0, x, y)), std::uint8_t(at(2, x, y)),
                                       std::uint8_t(type == 102 ? at(3, x, y) : 255)});
        } else if ((type == 106 && format == PrPixelFormat_VUYA_4444_8u) ||
                   (type == 103 && format == PrPixelFormat_VUYX_4444_8u)) {
            for (std::uint32_t x = 0; x < f.width; ++x)
                out.insert(out.end(), {std::uint8_t(at(2, x, y)), std::uint8_t(at(1, x, y)), std::uint8_t(at(0, x, y)),
                                       std::uint8_t(type == 106 ? at(3, x, y) : 255)});
        } else if (type == 108 && format == PrPixelFormat_V210_422_10u_601) {
            for (std::uint32_t g = 0; g < (f.width + 5) / 6; ++g) {  // a partial group repeats the last samples
                const auto Y = [&](std::uint32_t i) {
                    return std::uint32_t(at(0, std::min(6 * g + i, f.width - 1), y));
                };
                const auto C = [&](int p, std::uint32_t i) { return std::uint32_t(at(p, 3 * g + i, y)); };
                put32(C(1, 0) | Y(0) << 10 | C(2, 0) << 20);
                put32(Y(1) | C(1, 1) << 10 | Y(2) << 20);
                put32(C(2, 1) | Y(3) << 10 | C(1, 2) << 20);
                put32(Y(4) | C(2, 2) << 10 | Y(5) << 20);
            }
        } else {
            return std::nullopt;
        }
    }
    return out;
}

class FrameImport : public ::testing::Test {
protected:
    void SetUp() override {
        driver = std::make_unique<ImporterDriver>(host, endtoend::modulePath());
        ASSERT_EQ(driver->init().result, imNoErr);
    }
    void TearDown() override { driver->shutdown(); }

    fs::path clip(const clipmaker::ClipSpec& plan, const std::string& name) {
        const fs::path path = folder.path() / name;
        clipmaker::makeClip(endtoend::utf8(path), plan);
        return path;
    }

    // The framemd5 listing of every frame in `code` ("": the first format offered).
    std::string listing(const fs::path& path, const std::string& code) {
        FrameSession session(*driver, path);
        const FrameFormat& format = chooseFrameFormat(session.video(), code);
        SourceVideoRequester requester(session, format.pixelFormat);
        std::ostringstream md5;
        FramesOutput output;
        output.md5 = &md5;
        const FramesResult result = writeFrames(session, requester, format, 0, session.video().frameCount - 1, output);
        EXPECT_TRUE(result.failures.empty());
        EXPECT_TRUE(session.close().empty());
        return md5.str();
    }

    endtoend::TempFolder folder;
    Host host;
    std::unique_ptr<ImporterDriver> driver;
};

}  // namespace

TEST_F(FrameImport, EveryTypeInEveryOfferedFormatEqualsTheCodecAloneAndTheStoredSamples) {
    int formatsSeen = 0, storedSeen = 0;
    for (std::uint32_t type : kTypes) {
        const clipmaker::ClipSpec plan = specOf(type);
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
                reference.decode(compressed.data(), std::uint32_t(compressed.size()));
                const Bytes picture = answer.frame.picture();
                EXPECT_EQ(picture, reference.picture(packedRowBytes(pixelFormat, 38))) << what << ", frame " << i;
                const auto stored = storedSamples(type, pixelFormat, clipmaker::syntheticFrame(type, 38, 10, i));
                if (stored) {
                    EXPECT_EQ(picture, *stored) << what << ", frame " << i;
                    ++storedSeen;
                }
            }
            ++formatsSeen;
        }
        EXPECT_TRUE(session.close().empty()) << type;
    }
    EXPECT_EQ(storedSeen, 7 * 2);
    EXPECT_GT(formatsSeen, 17 * 4);
    EXPECT_EQ(host.frames().liveCount(), 0u);
}

TEST_F(FrameImport, Md5ListingsMatchTheGoldenOneOnEveryPlatform) {
    clipmaker::ClipSpec yuv = specOf(104, 48, 16);
    yuv.frames = 4;
    yuv.emptyFrames = {2};
    yuv.rateNumerator = 30000;
    yuv.rateDenominator = 1001;
    const std::string text = listing(clip(yuv, "yuv.avi"), "") + listing(clip(specOf(102, 48, 16), "rgba.avi"), "bgra");
    hosttest::expectGolden(fs::path(NORVIK_GOLDEN_DIR) / "frames-md5.txt", text);
}

TEST_F(FrameImport, DamagedClipsAndAFailingHostGetTheirAnswers) {
    clipmaker::ClipSpec plan = specOf(104, 16, 8);
    plan.frames = 3;
    plan.index = clipmaker::IndexKind::Idx1;
    const fs::path path = clip(plan, "damaged.avi");
    const ClipChunks chunks = readClipChunks(path);
    {
        std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
        std::stringstream all;
        all << file.rdbuf();
        const std::string bytes = all.str();
        const std::size_t idx1 = bytes.rfind("idx1");
        const std::size_t second = bytes.find("00dc", bytes.find("00dc", idx1 + 8) + 4);
        ASSERT_NE(second, std::string::npos);
        const std::uint32_t tooLong = 0x7FFFFFF0;  // frame 1 now runs past the end of the file
        file.seekp(std::streamoff(second + 12));
        file.write(reinterpret_cast<const char*>(&tooLong), 4);
        file.seekp(std::streamoff(chunks.frames[2].offset));  // frame 2 no longer starts like a frame
        file.write("XXXX", 4);
    }
    {
        FrameSession session(*driver, path);
        SourceVideoRequester requester(session, PrPixelFormat_YUYV_422_8u_601);
        EXPECT_EQ(requester.request(0).result, imNoErr);
        EXPECT_EQ(requester.request(1).result, imFileReadFailed);
        EXPECT_EQ(requester.request(2).result, imBadCompression);
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
