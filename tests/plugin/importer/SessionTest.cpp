// The importer session on clips made by the clip maker: host stream mapping,
// reopening, and what the clip information handlers write.
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "ClipMaker.h"
#include "TestPlatform.h"
#include "formats/Catalogue.h"
#include "importer/ClipInfo.h"
#include "entry/FileSession.h"
#include "importer/NorvikImporter.h"
#include "log/Text.h"
#include "norvikhost/Host.h"

using namespace prsdk;
namespace fs = std::filesystem;

namespace {

class Session : public ::testing::Test {
protected:
    void SetUp() override { buildPixelFormatTables({}); }

    // A 16 x 8 clip of eight frames with `audioStreams` stereo 16-bit streams.
    std::u16string clip(const std::string& name, int audioStreams, uint32_t rate = 25, uint32_t scale = 1) {
        clipmaker::ClipPlan plan;
        plan.width = 16;
        plan.height = 8;
        plan.frames = 8;
        plan.rateNumerator = rate;
        plan.rateDenominator = scale;
        plan.audio.assign(static_cast<size_t>(audioStreams), clipmaker::AudioPlan{});
        clipmaker::makeClip((folder.path() / name).string(), plan);
        return toWide((folder.path() / name).string());
    }

    int32_t parse(const std::u16string& path, int32_t stream) {
        session = std::make_unique<NorvikImporter>(host.stdParms());
        EXPECT_TRUE(session->open(path, stream, 0));
        return session->parse(stream);
    }

    hosttest::TempFolder folder;
    norvikhost::Host host;
    std::unique_ptr<NorvikImporter> session;
};

}  // namespace

TEST_F(Session, OpenFailuresKeepAnExistingSessionAndQuietKeepsWhatWasParsed) {
    imFileOpenRec8 open{};
    const std::u16string path = clip("one.avi", 1);
    open.fileinfo.filepath = path.c_str();
    imFileRef ref = nullptr;
    ASSERT_EQ(OnOpenFile8(host.stdParms(), nullptr, &ref, &open), imNoErr);
    auto* opened = static_cast<FileSession*>(open.privatedata);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(+open.fileinfo.filetype, 0x41564956u);
    EXPECT_EQ(+open.fileinfo.fileref, ref);

    imFileInfoRec8 info{};
    info.privatedata = opened;
    ASSERT_EQ(OnGetInfo8(opened->importer(), &info), imNoErr);
    ASSERT_EQ(OnQuietFile(*opened, &ref), imNoErr);
    EXPECT_EQ(ref, reinterpret_cast<imFileRef>(static_cast<intptr_t>(-1)));
    EXPECT_TRUE(opened->importer().video()) << "quiet keeps the description";

    const std::u16string missing = toWide((folder.path() / "missing.avi").string());
    open.fileinfo.filepath = missing.c_str();
    EXPECT_EQ(OnOpenFile8(host.stdParms(), opened, &ref, &open), imBadFile);
    EXPECT_EQ(+open.privatedata, opened) << "the session stays";
    open.fileinfo.filepath = path.c_str();
    open.inReadWrite = 1;  // read and write, never created or truncated
    EXPECT_EQ(OnOpenFile8(host.stdParms(), opened, &ref, &open), imNoErr);
    EXPECT_EQ(+open.privatedata, opened) << "reopened in place";
    EXPECT_EQ(OnCloseFile(*opened, &ref), imNoErr);
    delete opened;
    EXPECT_GT(fs::file_size(folder.path() / "one.avi"), 1000u);

    imFileOpenRec8 fresh{};
    fresh.fileinfo.filepath = missing.c_str();
    EXPECT_EQ(OnOpenFile8(host.stdParms(), nullptr, &ref, &fresh), imBadFile);
    EXPECT_EQ(+fresh.privatedata, nullptr) << "a session made for a failed open is deleted";
}

// What the handlers write for whole clips is in the golden texts of
// tests/endtoend; here, host buffers smaller than what the clip needs.
TEST_F(Session, DataRateAndAnalysisKeepToShortHostBuffers) {
    ASSERT_EQ(parse(clip("ntsc.avi", 1, 30000, 1001), 0), imNoErr);
    imDataRateAnalysisRec dataRate{};
    std::vector<char> samples(17, 'x');  // room for two samples, and one byte to stay untouched
    dataRate.buffer = samples.data();
    dataRate.buffersize = 16;
    ASSERT_EQ(OnDataRateAnalysis(*session, &dataRate), imNoErr);
    EXPECT_EQ(samples[16], 'x');
    imDataSample first;
    std::memcpy(&first, samples.data(), sizeof(first));
    EXPECT_EQ(+first.sampledur, 1001u | 0x80000000u);
    EXPECT_EQ(+first.samplesize, session->video()->stream->frames()[0].size);

    char text[64];
    std::memset(text, 'x', sizeof(text));
    imAnalysisRec analysis{};
    analysis.buffer = text;
    analysis.buffersize = sizeof(text);
    ASSERT_EQ(OnAnalysis(*session, &analysis), imNoErr);
    EXPECT_EQ(std::strlen(text), 63u);
    EXPECT_EQ(std::string(text, 21), "\nVideo stream:\nSize: ");
}

TEST_F(Session, HandlersWithoutVideoAreInternalErrors) {
    ASSERT_EQ(parse(clip("three.avi", 3), 1), imIterateStreams);
    imAnalysisRec analysis{};
    EXPECT_THROW(OnAnalysis(*session, &analysis), std::logic_error);
    imIndPixelFormatRec format{};
    EXPECT_THROW(OnGetIndPixelFormat(*session, 0, &format), std::logic_error);

    imFileInfoRec8 info{};
    info.streamIdx = 7;  // no such audio stream: a placeholder
    ASSERT_EQ(OnGetInfo8(*session, &info), imBadStreamIndex);
    EXPECT_EQ(+info.audInfo.numChannels, 1);
    EXPECT_FLOAT_EQ(+info.audInfo.sampleRate, 1000.0f);
    EXPECT_EQ(+info.audInfo.sampleType, kPrAudioSampleType_Other);
    EXPECT_EQ(+info.audDuration, 0);
}
