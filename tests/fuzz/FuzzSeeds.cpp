// Writes the seed inputs of the fuzz targets, one folder per target, from the clip
// maker's clips and the AVI writer's faults. scripts/fuzz --seed merges the ones
// that add coverage into the corpus kept in the tree (tests/fuzz/corpus/).
//
//   fuzz_seeds OUTPUT_FOLDER
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "AviWriter.h"
#include "ClipMaker.h"
#include "avi/AviParser.h"
#include "fileio/WinFile.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

Bytes readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A small video and audio file with the writer's options; several forms when OpenDML is on.
void writerFile(const fs::path& path, aviwriter::Options o) {
    o.superIndexSlots = 4;
    aviwriter::AviWriter w(path.string(), o);
    w.addVideoStream(aviwriter::videoStream(0, 4, 4, 25, 1));
    w.addAudioStream(aviwriter::pcmAudioStream(2, 8000, 16));
    for (int k = 0; k < 6; ++k) {
        if (k == 2) w.beginRec();
        w.writeChunk(0, Bytes(60 + k, uint8_t(k)), k % 2 == 0);
        w.writeChunk(1, Bytes(k == 3 ? 0 : 32, 1));
        if (k == 2) w.endRec();
    }
    w.finish();
}

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
        writerFile(folder / (std::string("writer-") + name + ".avi"), o);
    }
}

clipmaker::ClipSpec smallClip(uint32_t type) {
    clipmaker::ClipSpec plan;
    plan.type = type;
    plan.width = 16;
    plan.height = 8;
    plan.frames = 3;
    plan.threads = 1;
    plan.riffLimit = 2048;
    return plan;
}

void clipSeeds(const fs::path& folder) {
    const std::vector<std::pair<const char*, std::function<void(clipmaker::ClipSpec&)>>> plans = {
        {"both",
         [](auto& p) {
             p.audio = {clipmaker::AudioSpec{1, 8000, 16, false, true}};
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
        clipmaker::ClipSpec plan = smallClip(104);
        apply(plan);
        clipmaker::makeClip((folder / (std::string("clip-") + name + ".avi")).string(), plan);
    }
}

// For the decoder: the output pick, the 24-byte stream format block and the first
// frame, of a small clip of every compressed type.
void decodeSeeds(const fs::path& folder, const fs::path& scratch) {
    for (uint32_t type = 101; type <= 123; ++type) {
        const clipmaker::ClipSpec plan = smallClip(type);
        if (!clipmaker::validate(plan).empty()) continue;
        clipmaker::makeClip(scratch.string(), plan);
        fileio::WinFile file;
        AviParser parser;
        if (!file.open(scratch.string().c_str(), fileio::Read) || !parser.parse(file) || parser.streams.empty() ||
            parser.streams[0]->frames().empty() || parser.streams[0]->format.size() < 64)
            throw std::runtime_error("cannot read back the clip of type " + std::to_string(type));
        const FrameEntry& frame = parser.streams[0]->frames().front();
        Bytes seed{uint8_t(type % 12)};
        seed.insert(seed.end(), parser.streams[0]->format.begin() + 40, parser.streams[0]->format.begin() + 64);
        seed.resize(25 + frame.size);
        file.seek(static_cast<int64_t>(frame.offset));
        fileio::readExact(file, seed.data() + 25, frame.size);
        std::ofstream(folder / ("type-" + std::to_string(type)), std::ios::binary)
            .write(reinterpret_cast<const char*>(seed.data()), std::streamsize(seed.size()));
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
        for (const char* target : {"avi_parser_fuzz", "clip_open_fuzz", "norvik_decode_fuzz"})
            fs::create_directories(out / target);
        writerSeeds(out / "avi_parser_fuzz");
        clipSeeds(out / "avi_parser_fuzz");
        writerSeeds(out / "clip_open_fuzz");
        clipSeeds(out / "clip_open_fuzz");
        decodeSeeds(out / "norvik_decode_fuzz", out / "scratch.avi");
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "fuzz_seeds: %s\n", e.what());
        return 1;
    }
}
