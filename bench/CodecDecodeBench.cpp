// Decode speed of the Norvik codec on 1920x1080 pictures, one thread and all
// threads, with the compression ratio, and memcpy of the output size as the bound.
// Cases 0..3 are synthetic pictures; with NORVIK_BENCH_FOOTAGE=DIR cases 4..7 are
// the same types on footage clips DIR/footage-TYPE.avi written by norvik-mkclip
// (their first 24 frames).
// `--dump-raw DIR FRAMES` writes the synthetic pictures as raw planar files
// (yuv422p, gbrap, yuv420p, yuv422p) for the comparison with other codecs.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "ClipMaker.h"
#include "norvik/norvik_common.h"

namespace {

constexpr uint32_t kWidth = 1920, kHeight = 1080, kFrames = 8, kFootageFrames = 24;

// Streams are labelled Rec.709 limited range, as norvik-mkclip labels HD pictures;
// `colorSpace` is the one asked of the output (1: the importer's yuy2, Rec.601,
// so the decode includes the change of colour matrix).
struct Case {
    uint32_t type, output, outputBytesPerRow, colorSpace;
};

const Case kCases[] = {{104, 4, kWidth * 2, 1},
                       {102, 2, kWidth * 4, 2},
                       {105, 4, kWidth * 2, 1},
                       {108, 11, (kWidth + 5) / 6 * 16, 2}};
constexpr int kTypes = 4;  // case c and case c + kTypes have the same type; the second is footage

// Planes of a frame as the planar source wants them.
std::vector<std::vector<uint8_t>> planeBytes(const clipmaker::Frame& f) {
    std::vector<std::vector<uint8_t>> out(f.layout.planes);
    for (int p = 0; p < f.layout.planes; ++p)
        for (uint16_t v : f.planes[p]) {
            out[p].push_back(static_cast<uint8_t>(v));
            if (f.layout.bits > 8) out[p].push_back(static_cast<uint8_t>(v >> 8));
        }
    return out;
}

struct Encoded {
    std::vector<std::vector<uint8_t>> frames;
    std::vector<uint8_t> block;
    double rawBytes = 0, codedBytes = 0;
};

// Raw planar bytes of a picture of the type (samples above 8 bits counted at their bits).
double rawBytes(uint32_t type) {
    const clipmaker::PlaneLayout l = clipmaker::planeLayout(type);
    double samples = 0;
    for (int p = 0; p < l.planes; ++p)
        samples += p == 1 || p == 2 ? double(kWidth / l.chromaX) * (kHeight / l.chromaY) : double(kWidth) * kHeight;
    return samples * l.bits / 8;
}

uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

// The stream block and the frames of a clip from norvik-mkclip: the block follows
// "NVKS" in the video format chunk; frames are the 00dc chunks, found by walking
// RIFF and LIST chunks.
Encoded footage(uint32_t type) {
    const char* dir = std::getenv("NORVIK_BENCH_FOOTAGE");
    const std::string path = std::string(dir ? dir : ".") + "/footage-" + std::to_string(type) + ".avi";
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> file{std::istreambuf_iterator<char>(in), {}};
    Encoded e;
    std::vector<std::pair<size_t, size_t>> spans{{0, file.size()}};
    while (!spans.empty()) {
        auto [at, end] = spans.back();
        spans.pop_back();
        for (; at + 8 <= end;) {
            const uint32_t size = le32(&file[at + 4]);
            if (size > end - at - 8) break;
            if (std::memcmp(&file[at], "RIFF", 4) == 0 || std::memcmp(&file[at], "LIST", 4) == 0)
                spans.emplace_back(at + 12, at + 8 + size);
            if (std::memcmp(&file[at], "strf", 4) == 0 && e.block.empty() && size >= 64)
                e.block.assign(file.begin() + at + 8 + 40, file.begin() + at + 8 + 64);
            if (std::memcmp(&file[at], "00dc", 4) == 0 && e.frames.size() < kFootageFrames)
                e.frames.emplace_back(file.begin() + at + 8, file.begin() + at + 8 + size);
            at += 8 + size + (size & 1);
        }
    }
    if (e.frames.empty() || e.block.size() != 24 || e.block[5] != type)
        throw std::runtime_error("no frames of type " + std::to_string(type) + " in " + path);
    for (const auto& f : e.frames) e.codedBytes += static_cast<double>(f.size());
    e.rawBytes = rawBytes(type) * static_cast<double>(e.frames.size());
    return e;
}

const Encoded& encoded(int index) {
    static std::vector<std::pair<int, Encoded>> cache;
    for (auto& c : cache)
        if (c.first == index) return c.second;
    const uint32_t type = kCases[index % kTypes].type;
    if (index >= kTypes) {
        cache.emplace_back(index, footage(type));
        return cache.back().second;
    }
    Encoded e;
    e.block.resize(24);
    norvik_make_stream_format(type, 2, 1, kWidth, kHeight, 0, 0, e.block.data(), 24);
    uint32_t h = 0;
    norvik_library_init();
    norvik_open(&h);
    const CodecFormat src{kWidth, kHeight, 254, 1, type, 0, 2, 1, 0};
    norvik_compress_begin(h, &src, e.block.data(), 24, nullptr);
    uint32_t bound = 0;
    norvik_compress_bound(h, &bound);
    for (uint32_t i = 0; i < kFrames; ++i) {
        const clipmaker::Frame f = clipmaker::syntheticFrame(type, kWidth, kHeight, i * 7);
        auto bytes = planeBytes(f);
        CodecPlane planes[4] = {};
        for (size_t p = 0; p < bytes.size(); ++p) {
            planes[p] = {reinterpret_cast<uintptr_t>(bytes[p].data()),
                         static_cast<uint32_t>(bytes[p].size() / f.planeHeight(static_cast<int>(p))),
                         static_cast<uint32_t>(bytes[p].size())};
            e.rawBytes += static_cast<double>(bytes[p].size()) * (f.layout.bits > 8 ? f.layout.bits / 16.0 : 1.0);
        }
        std::vector<uint8_t> out(bound);
        uint32_t written = 0;
        if (norvik_compress(h, planes, out.data(), bound, &written) != 0) throw std::runtime_error("encode failed");
        out.resize(written);
        e.codedBytes += written;
        e.frames.push_back(std::move(out));
    }
    norvik_close(h);
    cache.emplace_back(index, std::move(e));
    return cache.back().second;
}

void BM_Decode(benchmark::State& state) {
    const Case& c = kCases[state.range(0) % kTypes];
    const Encoded& e = encoded(static_cast<int>(state.range(0)));
    uint32_t h = 0;
    norvik_open(&h);
    norvik_set_thread_count(h, static_cast<uint32_t>(state.range(1)));
    const CodecFormat wanted{0, 0, 254, 1, c.output, 0, c.colorSpace, 1, 0};
    CodecFormat info{0, 0, 254, 1, 0, 0, 0, 0, 0};
    norvik_decompress_begin(h, e.block.data(), 24, &wanted, &info);
    std::vector<uint8_t> out(size_t{c.outputBytesPerRow} * kHeight);
    const CodecPlane planes[4] = {
        {reinterpret_cast<uintptr_t>(out.data()), c.outputBytesPerRow, static_cast<uint32_t>(out.size())}, {}, {}, {}};
    size_t i = 0;
    for (auto _ : state) {
        const auto& f = e.frames[i++ % e.frames.size()];
        if (norvik_decompress(h, f.data(), static_cast<uint32_t>(f.size()), planes) != 0)
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["ratio"] = e.rawBytes / e.codedBytes;
    state.SetLabel(std::string(state.range(0) >= kTypes ? "footage" : "synthetic") + ", type " +
                   std::to_string(c.type) + " -> " + std::to_string(c.output) + (c.colorSpace == 1 ? " Rec.601" : ""));
    norvik_decompress_end(h);
    norvik_close(h);
}

void BM_Memcpy(benchmark::State& state) {
    const Case& c = kCases[state.range(0)];
    std::vector<uint8_t> a(size_t{c.outputBytesPerRow} * kHeight, 1), b(a.size());
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size());
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetLabel("output of type " + std::to_string(c.output));
}

// CPU time is the whole process's, so for two threads it sums both workers.
void registerBenchmarks() {
    const int cases = std::getenv("NORVIK_BENCH_FOOTAGE") ? 2 * kTypes : kTypes;
    benchmark::RegisterBenchmark("BM_Decode", BM_Decode)
        ->ArgsProduct({benchmark::CreateDenseRange(0, cases - 1, 1), {1, 2}})
        ->ArgNames({"case", "threads"})
        ->MeasureProcessCPUTime()
        ->UseRealTime()
        ->MinTime(1.0);
    benchmark::RegisterBenchmark("BM_Memcpy", BM_Memcpy)->DenseRange(0, kTypes - 1)->ArgName("case")->UseRealTime();
}

// Raw planar files of the benchmark's pictures: 8-bit yuv422p, gbrap (G, B, R, A
// planes, as the codec's planes), yuv420p, and yuv422p-10 (the 10-bit 4:2:2 samples
// rounded to 8 bits: ffmpeg's UT Video encoder takes no 10-bit input).
int dumpRaw(const std::string& dir, uint32_t frames) {
    const std::pair<uint32_t, const char*> files[] = {
        {104, "yuv422p"}, {102, "gbrap"}, {105, "yuv420p"}, {108, "yuv422p-10"}};
    for (const auto& [type, name] : files) {
        FILE* out = std::fopen((dir + "/" + name + ".raw").c_str(), "wb");
        if (!out) return 1;
        for (uint32_t i = 0; i < frames; ++i) {
            const clipmaker::Frame f = clipmaker::syntheticFrame(type, kWidth, kHeight, i * 7);
            for (int p = 0; p < f.layout.planes; ++p) {
                std::vector<uint8_t> bytes;
                for (uint16_t v : f.planes[p])
                    bytes.push_back(static_cast<uint8_t>(f.layout.bits == 8 ? v : std::min(255, (v + 2) >> 2)));
                std::fwrite(bytes.data(), 1, bytes.size(), out);
            }
        }
        std::fclose(out);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--dump-raw")
        return dumpRaw(argv[2], static_cast<uint32_t>(std::stoul(argv[3])));
    norvik_library_init();
    registerBenchmarks();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    norvik_library_close();
    return 0;
}
