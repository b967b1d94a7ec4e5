// Audio through the loaded importer module as the host pulls it while playing:
// consecutive imImportAudio7 requests (position -1) into one float buffer per
// channel, for 24-bit 8-channel and 16-bit stereo PCM at 48 kHz, in blocks of one
// second and of 4096 sample frames, and for 8-bit and 32-bit float stereo (the
// importer's own offset and copy loops) in blocks of one second. Beside each,
// memcpy of the same number of bytes (the float output of one block) in the same
// run, for the ratio.
//
//   audio_import_bench [benchmark flags]
//
// The clips (10 s each, small video) are written to the temporary folder first
// and read through the page cache.
#include <benchmark/benchmark.h>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ClipMaker.h"
#include "norvikhost/Host.h"
#include "norvikhost/ImporterDriver.h"
#include "norvikhost/Platform.h"

namespace {

namespace fs = std::filesystem;
using namespace prsdk;

struct Format {
    uint16_t channels;
    uint16_t bits;
    bool isFloat = false;
};
constexpr Format kFormats[] = {{8, 24}, {2, 16}, {2, 8}, {2, 32, true}};
constexpr uint32_t kRate = 48000;
constexpr uint32_t kSeconds = 10;

fs::path clipPath(const Format& f) {
    return fs::temp_directory_path() / ("norvik-audio-bench-" + std::to_string(f.channels) + "x" +
                                        std::to_string(f.bits) + (f.isFloat ? "f" : "") + ".avi");
}

void writeClips() {
    for (const Format& f : kFormats) {
        clipmaker::ClipPlan plan;
        plan.width = 16;
        plan.height = 8;
        plan.frames = 25 * kSeconds;
        plan.threads = 1;
        plan.audio = {{f.channels, kRate, f.bits, f.isFloat, false}};
        clipmaker::makeClip(clipPath(f).string(), plan);
    }
}

std::string label(const Format& f) {
    return std::to_string(f.channels) + " x " + std::to_string(f.bits) + "-bit" + (f.isFloat ? " float" : "");
}

// The module loaded into a host, with one clip open on host stream 0.
class OpenClip {
public:
    explicit OpenClip(const fs::path& path)
        : m_driver(m_host, norvikhost::currentExecutablePath().parent_path() / norvikhost::importerModuleFileName()),
          m_path(path.u16string()) {
        m_driver.init();
        imFileOpenRec8 open{};
        open.fileinfo.filepath = m_path.c_str();
        if (m_driver.call(imOpenFile8, &m_ref, &open) != imNoErr) throw std::runtime_error("cannot open the clip");
        m_session = open.privatedata;
        imFileInfoRec8 info{};
        info.privatedata = m_session;
        m_driver.call(imGetInfo8, nullptr, &info);
        m_frames = info.audDuration;
    }
    ~OpenClip() {
        m_driver.call(imCloseFile, &m_ref, m_session);
        m_driver.shutdown();
    }

    int32_t request(int64_t position, uint32_t size, float** buffers) {
        imImportAudioRec7 rec{};
        rec.position = position;
        rec.size = size;
        rec.buffer = buffers;
        rec.privateData = m_session;
        return m_driver.call(imImportAudio7, nullptr, &rec);
    }

    // The clip's audio length in sample frames.
    int64_t frames() const { return m_frames; }

private:
    norvikhost::Host m_host;
    norvikhost::ImporterDriver m_driver;
    std::u16string m_path;
    imFileRef m_ref = nullptr;
    void* m_session = nullptr;
    int64_t m_frames = 0;
};

void BM_ImportAudio(benchmark::State& state) {
    const Format& format = kFormats[state.range(0)];
    const auto block = uint32_t(state.range(1));
    OpenClip clip(clipPath(format));
    std::vector<std::vector<float>> channels(format.channels, std::vector<float>(block));
    std::vector<float*> buffers;
    for (auto& channel : channels) buffers.push_back(channel.data());
    int64_t position = 0;
    for (auto _ : state) {
        // Consecutive blocks; back to the start when the next would run past the end.
        const bool restart = position + block > clip.frames();
        if (restart) position = 0;
        if (clip.request(restart ? 0 : -1, block, buffers.data()) != imNoErr) state.SkipWithError("request failed");
        position += block;
        benchmark::DoNotOptimize(buffers[0][0]);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * block * format.channels * int64_t(sizeof(float)));
    state.SetLabel(label(format));
}

void BM_Memcpy(benchmark::State& state) {
    const Format& format = kFormats[state.range(0)];
    const size_t bytes = size_t(state.range(1)) * format.channels * sizeof(float);
    std::vector<char> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
    state.SetLabel(label(format) + " output bytes");
}

void arguments(benchmark::internal::Benchmark* b) {
    for (int64_t format : {0, 1})
        for (int64_t block : {int64_t(kRate), int64_t(4096)}) b->Args({format, block});
    for (int64_t format : {2, 3}) b->Args({format, int64_t(kRate)});
}

BENCHMARK(BM_ImportAudio)->Apply(arguments);
BENCHMARK(BM_Memcpy)->Apply(arguments);

}  // namespace

int main(int argc, char** argv) {
    writeClips();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const Format& f : kFormats) fs::remove(clipPath(f));
    return 0;
}
