// Writes the seed inputs of the fuzz targets, one folder per target, from the clip
// maker's clips and the AVI writer's faults. scripts/fuzz --seed merges the ones
// that add coverage into the corpus kept in the tree (tests/fuzz/corpus/).
//
//   fuzz_seeds OUTPUT_FOLDER
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "AviWriter.h"
#include "FuzzInput.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

void writerSeeds(const fs::path& folder) {
    using Fault = std::function<void(aviwriter::Options&)>;
    const std::vector<std::pair<const char*, Fault>> faults = {
        {"plain", [](auto&) {}},
        {"idx1-only", [](auto& o) { o.openDml = false; }},
        {"odml-only", [](auto& o) { o.idx1 = false; }},
        {"truncated", [](auto& o) { o.faults.truncateAt = 900; }},
        {"riff-size", [](auto& o) { o.faults.riffSizeDelta = 1000; }},
        {"movi-size", [](auto& o) { o.faults.moviSizeDelta = -40; }},
        {"super-longs", [](auto& o) { o.faults.superLongsPerEntry = 3; }},
        {"std-longs", [](auto& o) { o.faults.stdLongsPerEntry = 1; }},
        {"super-count", [](auto& o) { o.faults.superExtraEntries = 7; }},
        {"std-count", [](auto& o) { o.faults.stdExtraEntries = 9; }},
        {"super-small", [](auto& o) { o.faults.superSmallSize = true; }},
        {"super-past-end", [](auto& o) { o.faults.superOffsetPastEnd = true; }},
        {"std-base", [](auto& o) { o.faults.stdBaseOffsetDelta = int64_t(1) << 33; }},
        {"idx1-extra", [](auto& o) { o.faults.idx1ExtraBytes = 9; }},
        {"super-repeats", [](auto& o) { o.faults.superRepeatsFirst = true; }},
        {"super-indx", [](auto& o) { o.faults.superPointsToIndx = true; }},
    };
    for (const auto& [name, apply] : faults) {
        aviwriter::Options o;
        o.riffLimit = 700;
        apply(o);
        const auto bytes = fuzzinput::writerFile(o, true);
        fuzzinput::writeFile(folder / (std::string("writer-") + name + ".avi"), bytes.data(), bytes.size());
    }
}

void clipSeeds(const fs::path& folder) {
    const std::vector<std::pair<const char*, std::function<void(clipmaker::ClipPlan&)>>> plans = {
        {"both",
         [](auto& p) {
             p.audio.push_back({1, 8000, 16, false, true});
         }},
        {"odml", [](auto& p) { p.index = clipmaker::IndexKind::OpenDml; }},
        {"idx1", [](auto& p) { p.index = clipmaker::IndexKind::Idx1; }},
        {"empty-frame", [](auto& p) { p.emptyFrames = {1}; }},
        {"field", [](auto& p) { p.fieldType = 2; }},
        {"audio",
         [](auto& p) {
             p.audio = {{2, 8000, 8}, {1, 8000, 32, true}, {3, 8000, 24, false, true}};
         }},
    };
    for (const auto& [name, apply] : plans) {
        clipmaker::ClipPlan plan = fuzzinput::smallClip(104, 3);
        apply(plan);
        clipmaker::makeClip((folder / (std::string("clip-") + name + ".avi")).string(), plan);
    }
}

// For the decoder: the output pick, the 24-byte stream format block and the first
// frame, of a small clip of every compressed type.
void decodeSeeds(const fs::path& folder, const fs::path& scratch) {
    for (uint32_t type = 101; type <= 123; ++type) {
        clipmaker::ClipPlan plan = fuzzinput::smallClip(type, 3);
        plan.index = clipmaker::IndexKind::Idx1;  // no index names the video chunks before the first frame
        if (!clipmaker::validate(plan).empty()) continue;
        clipmaker::makeClip(scratch.string(), plan);
        const Bytes clip = fuzzinput::readFile(scratch), block = clipmaker::streamFormatBlock(plan);
        const char id[] = "00dc";
        const auto chunk = std::search(clip.begin(), clip.end(), id, id + 4);
        if (clip.end() - chunk < 8) throw std::runtime_error("no frame in the clip of type " + std::to_string(type));
        Bytes seed{uint8_t(type % 12)};
        seed.insert(seed.end(), block.begin(), block.end());
        seed.insert(seed.end(), chunk + 8, chunk + 8 + (chunk[4] | chunk[5] << 8 | chunk[6] << 16));
        fuzzinput::writeFile(folder / ("type-" + std::to_string(type)), seed.data(), seed.size());
    }
    fs::remove(scratch);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds OUTPUT_FOLDER\n");
        return 2;
    }
    try {
        const fs::path out = argv[1];
        for (const char* target : {"avi_parser_fuzz", "clip_open_fuzz", "norvik_decode_fuzz", "chunk_scan_fuzz"})
            fs::create_directories(out / target);
        writerSeeds(out / "avi_parser_fuzz");
        clipSeeds(out / "avi_parser_fuzz");
        writerSeeds(out / "clip_open_fuzz");
        clipSeeds(out / "clip_open_fuzz");
        writerSeeds(out / "chunk_scan_fuzz");
        clipSeeds(out / "chunk_scan_fuzz");
        decodeSeeds(out / "norvik_decode_fuzz", out / "scratch.avi");
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "fuzz_seeds: %s\n", e.what());
        return 1;
    }
}
