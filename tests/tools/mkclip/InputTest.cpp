// Pictures and audio that ffmpeg wrote (make-inputs.sh, in NORVIK_MKCLIP_INPUTS)
// come back out of the codec library byte for byte, for every compressed type and
// every layout read, the audio interleaved per frame; bad input gets a clear
// message and leaves no clip behind. (The clip maker's synthetic pictures, tones
// and empty frames are pinned by the end-to-end golden listings.)
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <random>

#include "AudioFile.h"
#include "ClipMaker.h"
#include "CodecHelpers.h"
#include "PictureInput.h"
#include "RiffChunks.h"

namespace fs = std::filesystem;
using namespace norvik_test;

namespace {

constexpr uint32_t kWidth = 66, kHeight = 38, kFrames = 2;

std::string input(const std::string& name) {
    const char* dir = std::getenv("NORVIK_MKCLIP_INPUTS");
    return (fs::path(dir ? dir : ".") / name).string();
}

// A folder of this process alone in the shared temporary folder (test programs may
// run at once), removed when the program ends.
class ScratchFolder {
public:
    ScratchFolder()
        : m_path(fs::temp_directory_path() / ("norvik-mkclip-input-" + std::to_string(std::random_device{}()))) {
        fs::create_directories(m_path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

const fs::path& scratch() {
    static const ScratchFolder folder;
    return folder.path();
}

std::string outputPath() { return (scratch() / "clip.avi").string(); }

struct Clip {
    clipmaker::ClipPlan plan;
    std::vector<uint8_t> bytes;
};

// A clip of the pictures in `file` (YUV4MPEG2 when `layout` is empty) and the audio files.
Clip clipFrom(const std::string& file, const std::string& layout, const std::vector<std::string>& audio = {}) {
    Clip clip;
    auto pictures = clipmaker::openPictureInput(file, layout, kWidth, kHeight);
    clip.plan.frames = UINT32_MAX;
    clipmaker::fitPlanToInput(clip.plan, pictures->format(), {});
    clipmaker::ClipInputs inputs{pictures.get(), {}, {}};
    std::vector<clipmaker::AudioFile> files;
    for (const std::string& name : audio) {
        files.push_back(clipmaker::openAudioFile(input(name)));
        clip.plan.audio.push_back(files.back().stream);
        inputs.audio.push_back(files.back().samples.get());
    }
    clipmaker::makeClip(outputPath(), clip.plan, inputs);
    clip.bytes = riff_test::readFile(outputPath());
    fs::remove(outputPath());
    return clip;
}

// The pictures of an input file as they are stored: YUV4MPEG2 headers left out.
std::vector<std::vector<uint8_t>> picturesOf(const std::vector<uint8_t>& file, bool y4m) {
    size_t at = y4m ? std::find(file.begin(), file.end(), '\n') - file.begin() + 1 : 0;
    const size_t frameHeader = y4m ? 6 : 0;  // "FRAME\n"
    const size_t size = (file.size() - at) / kFrames - frameHeader;
    std::vector<std::vector<uint8_t>> out;
    for (uint32_t i = 0; i < kFrames; ++i, at += frameHeader + size)
        out.emplace_back(file.begin() + at + frameHeader, file.begin() + at + frameHeader + size);
    return out;
}

// A picture's planes as stored: samples of one byte, or two little-endian bytes.
std::vector<uint8_t> planeBytes(const Picture& p) {
    std::vector<uint8_t> out;
    for (int k = 0; k < p.info.planes; ++k)
        for (uint16_t v : p.planes[k]) {
            out.push_back(static_cast<uint8_t>(v));
            if (p.info.bits > 8) out.push_back(static_cast<uint8_t>(v >> 8));
        }
    return out;
}

// Clears the bits a packed layout leaves unused (X bytes, the top bits of a 10-bit word).
void clearUnused(std::vector<uint8_t>& bytes, uint32_t packed) {
    for (size_t i = 0; i + 3 < bytes.size(); i += 4) {
        if (packed == 1) bytes[i + 3] = 0;
        if (packed == 16) bytes[i] = 0;
        if (packed == 15) bytes[i + 3] &= 0x3F;
    }
}

// The input file is <layout>.raw, or <layout>.y4m for a YUV4MPEG2 stream.
struct Case {
    const char* layout;
    bool y4m;
    uint32_t type;
    uint32_t range;   // expected in the clip (1 unless the input says full)
    uint32_t packed;  // the packed output type the layout is, 0 for planes
};

const Case kCases[] = {
    {"gbrp", false, 101, 1, 0},        {"gbrap", false, 102, 1, 0},       {"yuv444p", false, 103, 1, 0},
    {"yuv422p", false, 104, 1, 0},     {"yuv420p", false, 105, 1, 0},     {"yuva444p", false, 106, 1, 0},
    {"gray", false, 107, 1, 0},        {"yuv422p10le", false, 108, 1, 0}, {"gbrp10le", false, 109, 1, 0},
    {"gbrap10le", false, 110, 1, 0},   {"gbrp12le", false, 111, 1, 0},    {"gbrap12le", false, 112, 1, 0},
    {"gbrp14le", false, 113, 1, 0},    {"gbrap14le", false, 114, 1, 0},   {"gray10le", false, 115, 1, 0},
    {"yuv444p10le", false, 118, 1, 0}, {"yuv420p10le", false, 123, 1, 0}, {"yuvj444p", false, 103, 2, 0},
    {"yuvj422p", false, 104, 2, 0},    {"yuvj420p", false, 105, 2, 0},    {"bgr0", false, 101, 1, 1},
    {"0rgb", false, 101, 1, 16},       {"bgra", false, 102, 1, 2},        {"argb", false, 102, 1, 19},
    {"x2rgb10le", false, 109, 1, 15},  {"yuyv422", false, 104, 1, 4},     {"uyvy422", false, 104, 1, 5},
    {"yuv420p", true, 105, 1, 0},      {"yuv422p", true, 104, 1, 0},      {"yuv444p", true, 103, 1, 0},
    {"yuva444p", true, 106, 1, 0},     {"gray", true, 107, 2, 0},         {"yuv420p10le", true, 123, 1, 0},
    {"yuv422p10le", true, 108, 1, 0},  {"yuv444p10le", true, 118, 1, 0},  {"gray10le", true, 115, 2, 0},
};

void expectFailure(const std::function<void()>& make, const std::string& message) {
    try {
        make();
        ADD_FAILURE() << "no error; expected: " << message;
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(outputPath())) << message;
}

std::string writeInput(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = (scratch() / name).string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
}

}  // namespace

TEST(MkclipInput, EveryLayoutComesBackByteForByte) {
    Handle h;
    for (const Case& c : kCases) {
        const std::string file = input(c.layout + std::string(c.y4m ? ".y4m" : ".raw"));
        SCOPED_TRACE(file);
        const Clip clip = clipFrom(file, c.y4m ? "" : c.layout);
        EXPECT_EQ(clip.plan.type, c.type);
        EXPECT_EQ(clip.plan.range, c.range);
        if (c.y4m) {
            EXPECT_EQ(clip.plan.rateNumerator, 30000u);
            EXPECT_EQ(clip.plan.rateDenominator, 1001u);
            EXPECT_EQ(clip.plan.fieldType, 1u);
        }
        const auto frames = riff_test::chunkData(clip.bytes, "00dc");
        const auto want = picturesOf(riff_test::readFile(file), c.y4m);
        ASSERT_EQ(frames.size(), kFrames);
        const auto block = clipmaker::streamFormatBlock(clip.plan);
        for (uint32_t i = 0; i < kFrames; ++i) {
            std::vector<uint8_t> back, expected = want[i];
            if (c.packed == 0) {
                Picture planes = makePicture(c.type, kWidth, kHeight, 0);
                ASSERT_EQ(decodePlanar(h.get(), block, frames[i], planes), NORVIK_OK);
                back = planeBytes(planes);
            } else {
                const CodecFormat wanted = record(c.packed, 0, clip.plan.colorSpace, clip.plan.range);
                const uint32_t stride = static_cast<uint32_t>(expected.size() / kHeight);
                ASSERT_EQ(decodePacked(h.get(), block, frames[i], wanted, kHeight, stride, back), NORVIK_OK);
                clearUnused(back, c.packed);
                clearUnused(expected, c.packed);
            }
            EXPECT_TRUE(back == expected) << "picture " << i;
        }
    }
}

TEST(MkclipInput, AudioFilesKeepTheirFormatMaskAndSamples) {
    // short32.wav ends inside the second video frame: the rest of it is silence.
    const std::vector<std::string> wavs = {"stereo16.wav", "side51-24.wav", "float71.wav", "mono8.wav", "short32.wav"};
    if (!clipmaker::audioFilesAvailable()) {
        expectFailure([&] { clipFrom(input("yuv420p.y4m"), "", wavs); }, "not available in this build");
        GTEST_SKIP() << "built without libsndfile";
    }
    const Clip clip = clipFrom(input("yuv420p.y4m"), "", wavs);
    const auto formats = riff_test::chunkData(clip.bytes, "strf");
    ASSERT_EQ(formats.size(), 1 + wavs.size());
    for (size_t k = 0; k < wavs.size(); ++k) {
        SCOPED_TRACE(wavs[k]);
        const auto wav = riff_test::readFile(input(wavs[k]));
        const auto fmt = riff_test::chunkData(wav, "fmt ").at(0);
        auto data = riff_test::chunkData(wav, "data").at(0);
        // ffmpeg writes a 16-byte plain format (no cbSize) or the 40-byte extensible one.
        ASSERT_GE(formats[k + 1].size(), fmt.size());
        EXPECT_TRUE(std::equal(fmt.begin(), fmt.end(), formats[k + 1].begin()));
        std::vector<uint8_t> samples;
        const char id[] = {'0', static_cast<char>('1' + k), 'w', 'b', '\0'};  // streams 01wb..05wb
        const auto chunks = riff_test::chunkData(clip.bytes, id);
        for (const auto& chunk : chunks) samples.insert(samples.end(), chunk.begin(), chunk.end());
        const auto& stream = clip.plan.audio[k];
        const size_t frameBytes = stream.channels * stream.bits / 8;
        // Interleaved per video frame: the first chunk holds the first frame's audio.
        EXPECT_EQ(chunks.at(0).size(), clipmaker::audioFramesBefore(clip.plan, stream, 1) * frameBytes);
        data.resize(clipmaker::audioFramesBefore(clip.plan, stream, kFrames) * frameBytes, stream.bits == 8 ? 128 : 0);
        EXPECT_TRUE(samples == data);
    }
}

// (A type that does not match the input, and raw input ending inside a picture, are cli-test.sh's.)
TEST(MkclipInput, BadInputGetsAClearMessageAndNoClip) {
    auto stream = riff_test::readFile(input("yuv422p.y4m"));
    stream[12] = '4';  // "W66" -> "W64": each picture seems shorter than it is
    const std::string narrow = writeInput("norvik_narrow.y4m", stream);
    expectFailure([&] { clipFrom(narrow, ""); }, "picture 1 does not start with FRAME");
    auto deep = riff_test::readFile(input("yuv420p10le.raw"));
    deep[deep.size() / kFrames + 1] |= 0x80;  // the second picture's first sample gets bit 15
    const std::string tooDeep = writeInput("norvik_deep.raw", deep);
    expectFailure([&] { clipFrom(tooDeep, "yuv420p10le"); }, "picture 1 holds the value 3");
    const std::string empty = writeInput("norvik_empty.raw", {});
    expectFailure([&] { clipFrom(empty, "gray"); }, "the input holds no pictures");
    expectFailure([&] { clipFrom(empty, ""); }, "is empty");
    expectFailure([&] { clipFrom(input("gray.raw"), "rgb48le"); }, "rgb48le is not a layout");
    if (clipmaker::audioFilesAvailable())
        expectFailure([&] { clipFrom(input("yuv420p.y4m"), "", {"tooshort.wav"}); },
                      "ends after 960 sample frames (0.020000 s at 48000 Hz), before a video frame that starts at "
                      "sample frame 1601");
}
