// Opening and indexing a large OpenDML file: 1,000,000 video chunks and one audio
// stream, written by the AVI writer.
//
//   avi_open_bench write FILE [videoChunks]   writes the file (sparse, AVIX forms past 1 GiB)
//   avi_open_bench once FILE                  opens and indexes it once; prints time and memory
//   AVI_BENCH_FILE=FILE avi_open_bench [benchmark flags]   Google Benchmark loop
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/resource.h>

#include "AviWriter.h"
#include "avi/AviParser.h"
#include "fileio/WinFile.h"

namespace {

constexpr uint32_t kVideoChunk = 1000;  // bytes per video chunk
constexpr uint32_t kAudioChunk = 2048;  // 512 stereo 16-bit samples, one per 4 video chunks

int writeFile(const char* path, uint64_t videoChunks) {
    aviwriter::Options o;
    o.sparse = true;
    o.superIndexSlots = 64;
    aviwriter::AviWriter w(path, o);
    w.addVideoStream(aviwriter::videoStream(makeFourCC("NRVK"), 1920, 1080, 25, 1));
    w.addAudioStream(aviwriter::pcmAudioStream(2, 48000, 16));
    for (uint64_t k = 0; k < videoChunks; ++k) {
        w.writeZeroChunk(0, kVideoChunk, k % 25 == 0);
        if (k % 4 == 3) w.writeZeroChunk(1, kAudioChunk);
    }
    w.finish();
    return 0;
}

// Resident set size of the process now, in bytes.
uint64_t residentBytes() {
    std::ifstream statm("/proc/self/statm");
    uint64_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4096;
}

uint64_t indexedChunks(const AviParser& parser) {
    uint64_t n = 0;
    for (const auto& s : parser.streams) n += s->frames().size();
    return n;
}

int openOnce(const char* path) {
    const uint64_t before = residentBytes();
    const auto start = std::chrono::steady_clock::now();
    fileio::WinFile file;
    if (!file.open(path, fileio::Read | fileio::ShareRead)) {
        std::fprintf(stderr, "cannot open %s\n", path);
        return 1;
    }
    AviParser parser;
    const bool ok = parser.parse(file);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const uint64_t peak = uint64_t(usage.ru_maxrss) * 1024;
    const uint64_t chunks = indexedChunks(parser);
    std::printf(
        "parse=%s streams=%zu chunks=%llu wall_ms=%.1f rss_before=%llu peak_rss=%llu "
        "bytes_per_chunk=%.1f\n",
        ok ? "ok" : "failed", parser.streams.size(), (unsigned long long)chunks, ms, (unsigned long long)before,
        (unsigned long long)peak, chunks ? double(peak - before) / double(chunks) : 0.0);
    for (const auto& s : parser.streams)
        std::printf("stream %llu: %zu chunks, %llu bytes\n", (unsigned long long)s->number, s->frames().size(),
                    (unsigned long long)s->totalBytes());
    if (!parser.errorText.empty()) std::printf("messages: %s\n", parser.errorText.c_str());
    return ok ? 0 : 1;
}

void BM_OpenAndIndex(benchmark::State& state) {
    const char* path = std::getenv("AVI_BENCH_FILE");
    if (!path) {
        state.SkipWithError("AVI_BENCH_FILE is not set");
        return;
    }
    uint64_t chunks = 0;
    for (auto _ : state) {
        fileio::WinFile file;
        file.open(path, fileio::Read | fileio::ShareRead);
        AviParser parser;
        parser.parse(file);
        chunks = indexedChunks(parser);
        benchmark::DoNotOptimize(chunks);
    }
    state.counters["chunks"] = double(chunks);
    state.counters["chunks_per_s"] = benchmark::Counter(double(chunks), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_OpenAndIndex)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "write") == 0)
        return writeFile(argv[2], argc >= 4 ? std::strtoull(argv[3], nullptr, 10) : 1000000);
    if (argc >= 3 && std::strcmp(argv[1], "once") == 0) return openOnce(argv[2]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
