// Opening a 1,000,000-frame Norvik clip through the loaded importer module, as
// the host does: imOpenFile8 and imGetInfo8 for host stream 0 (which parses the
// AVI, builds the frame index and describes the video and audio), then closing.
//
//   clip_open_bench write FILE [videoChunks]   writes the file (sparse, AVIX forms past 1 GiB)
//   clip_open_bench write-huge-index FILE      writes 25 frames whose OpenDML index is a
//                                              4 GiB standard index at 4.5 GiB (sparse, 8.5 GiB)
//   clip_open_bench once FILE                  opens it once; prints time and the stream
//   CLIP_BENCH_FILE=FILE clip_open_bench [benchmark flags]   Google Benchmark loop
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "AviWriter.h"
#include "ClipMaker.h"
#include "norvikhost/Host.h"
#include "norvikhost/ImporterDriver.h"
#include "norvikhost/Platform.h"

namespace {

using namespace prsdk;

constexpr uint32_t kVideoChunk = 1000;  // bytes per video chunk (zeros: the open never decodes)
constexpr uint32_t kAudioChunk = 2048;  // 512 stereo 16-bit samples, one per 4 video chunks

// The layout of avi_open_bench's file, with the codec's stream format block so
// that the importer accepts the video stream.
int writeFile(const char* path, uint64_t videoChunks, uint64_t hugeIndexAt = 0) {
    clipmaker::ClipPlan plan;
    plan.type = 104;
    plan.width = 1920;
    plan.height = 1080;
    aviwriter::Options o;
    o.sparse = true;
    o.superIndexSlots = 64;
    o.faults.hugeIndexAt = hugeIndexAt;
    aviwriter::AviWriter w(path, o);
    w.addVideoStream(
        aviwriter::videoStream(makeFourCC("NRVK"), 1920, 1080, 25, 1, 16, clipmaker::streamFormatBlock(plan)));
    w.addAudioStream(aviwriter::pcmAudioStream(2, 48000, 16));
    for (uint64_t k = 0; k < videoChunks; ++k) {
        w.writeZeroChunk(0, kVideoChunk, k % 25 == 0);
        if (k % 4 == 3) w.writeZeroChunk(1, kAudioChunk);
    }
    w.finish();
    return 0;
}

std::filesystem::path modulePath() {
    return norvikhost::currentExecutablePath().parent_path() / norvikhost::importerModuleFileName();
}

// One open: imOpenFile8, imGetInfo8 for stream 0, imCloseFile. Returns imGetInfo8's result.
int32_t openClip(norvikhost::ImporterDriver& driver, const std::u16string& path, imFileInfoRec8& info) {
    imFileOpenRec8 open{};
    open.fileinfo.filepath = path.c_str();
    imFileRef ref = nullptr;
    if (driver.call(imOpenFile8, &ref, &open) != imNoErr) return imBadFile;
    info = imFileInfoRec8{};
    info.privatedata = open.privatedata;
    info.vidInfo.importerID = 1;
    const int32_t result = driver.call(imGetInfo8, nullptr, &info);
    driver.call(imCloseFile, &ref, open.privatedata);
    return result;
}

int openOnce(const char* path) {
    norvikhost::Host host;
    norvikhost::ImporterDriver driver(host, modulePath());
    driver.init();
    imFileInfoRec8 info{};
    const std::u16string file = std::filesystem::path(path).u16string();
    const auto start = std::chrono::steady_clock::now();
    const int32_t result = openClip(driver, file, info);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("imGetInfo8=%d wall_ms=%.1f video=%dx%d rate=%d/%d duration=%d audio=%d ch %.0f Hz %lld frames\n",
                result, ms, info.vidInfo.imageWidth, info.vidInfo.imageHeight, info.vidScale, info.vidSampleSize,
                info.vidDuration, info.audInfo.numChannels, double(info.audInfo.sampleRate),
                static_cast<long long>(info.audDuration));
    driver.shutdown();
    return result == imNoErr ? 0 : 1;
}

void BM_OpenAndGetInfo(benchmark::State& state) {
    const char* path = std::getenv("CLIP_BENCH_FILE");
    if (!path) {
        state.SkipWithError("CLIP_BENCH_FILE is not set");
        return;
    }
    norvikhost::Host host;
    norvikhost::ImporterDriver driver(host, modulePath());
    driver.init();
    const std::u16string file = std::filesystem::path(path).u16string();
    imFileInfoRec8 info{};
    for (auto _ : state) {
        if (openClip(driver, file, info) != imNoErr) {
            state.SkipWithError("imGetInfo8 failed");
            break;
        }
        benchmark::DoNotOptimize(info.vidDuration);
    }
    state.counters["frames"] = double(info.vidSampleSize ? info.vidDuration / info.vidSampleSize : 0);
    driver.shutdown();
}
BENCHMARK(BM_OpenAndGetInfo)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "write") == 0)
        return writeFile(argv[2], argc >= 4 ? std::strtoull(argv[3], nullptr, 10) : 1000000);
    if (argc >= 3 && std::strcmp(argv[1], "write-huge-index") == 0) return writeFile(argv[2], 25, uint64_t(9) << 29);
    if (argc >= 3 && std::strcmp(argv[1], "once") == 0) return openOnce(argv[2]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
