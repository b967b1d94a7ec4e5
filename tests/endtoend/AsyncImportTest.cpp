// Frames through the module's asynchronous importer in the substitute host: the
// listing of every compressed type is the one imGetSourceVideo gives, also when
// the playhead jumps; and the host gets no importer when the importer's own open
// of the clip fails.
#include <gtest/gtest.h>
#include <sstream>

#include "ClipFixtures.h"
#include "FramesRun.h"
#include "norvikhost/AsyncFrameRequester.h"
#include "norvikhost/HostError.h"

namespace fs = std::filesystem;
using namespace norvikhost;
using namespace norvikimport;
using namespace prsdk;

namespace {

constexpr std::uint32_t kTypes[] = {101, 102, 103, 104, 105, 106, 107, 108, 109,
                                    110, 111, 112, 113, 114, 115, 118, 123};

class AsyncImport : public ::testing::Test {
protected:
    void SetUp() override {
        driver = std::make_unique<ImporterDriver>(host, endtoend::modulePath());
        ASSERT_EQ(driver->init().result, imNoErr);
    }
    void TearDown() override {
        driver->shutdown();
        EXPECT_EQ(host.outstandingSuites(), 0);
    }

    fs::path clip(std::uint32_t type) {
        clipmaker::ClipSpec plan = endtoend::smallSpec(type, 6);
        plan.width = 38;  // odd numbers of v210 groups and 4:2:2 pairs
        plan.height = 10;
        plan.emptyFrames = {2};
        const fs::path path = folder.path() / ("type" + std::to_string(type) + ".avi");
        clipmaker::makeClip(endtoend::utf8(path), plan);
        return path;
    }

    endtoend::TempFolder folder;
    Host host;
    std::unique_ptr<ImporterDriver> driver;
};

std::string listing(FrameSession& session, FrameRequester& requester, const FrameFormat& format) {
    std::ostringstream md5;
    FramesOutput output;
    output.md5 = &md5;
    const FramesResult result = writeFrames(session, requester, format, 0, session.video().frameCount - 1, output);
    EXPECT_TRUE(result.failures.empty());
    return md5.str();
}

}  // namespace

TEST_F(AsyncImport, EveryTypeListsAsImGetSourceVideoDoesAlsoAfterJumps) {
    for (std::uint32_t type : kTypes) {
        FrameSession session(*driver, clip(type));
        const FrameFormat& format = chooseFrameFormat(session.video(), "");
        SourceVideoRequester sync(session, format.pixelFormat);
        const std::string expected = listing(session, sync, format);
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
}

TEST_F(AsyncImport, TheHostGetsNoImporterWhenItsOwnOpenFails) {
    const fs::path path = clip(104);
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
