// Writes the large recording of the repair bench (bench/repair.sh) quickly: the
// compressed frames and audio chunks of a short synthetic 1280 x 720 clip with
// stereo 16-bit audio, repeated to FRAMES frames, through the AVI writer (OpenDML
// forms of 1 GiB and idx1, as norvik-mkclip writes them).
//
//   repair_bench_write FILE FRAMES
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "AviWriter.h"
#include "ClipMaker.h"
#include "avi/AviParser.h"
#include "fileio/WinFile.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes chunkBytes(fileio::File& file, const FrameEntry& e) {
    Bytes out(e.size);
    file.seek(static_cast<int64_t>(e.offset));
    file.read(out.data(), out.size());
    return out;
}

void write(const std::string& path, uint32_t frames) {
    const std::string sample = path + ".sample.avi";
    clipmaker::ClipPlan plan;
    plan.width = 1280, plan.height = 720, plan.frames = 8;
    plan.audio = {{2, 48000, 16}};
    clipmaker::makeClip(sample, plan);
    fileio::WinFile file;
    AviParser parser;
    if (!file.open(sample.c_str(), fileio::Read) || !parser.parse(file) || parser.streams.size() != 2)
        throw std::runtime_error("cannot read the sample clip back");
    std::vector<Bytes> video, audio;
    for (const FrameEntry& e : parser.streams[0]->frames()) video.push_back(chunkBytes(file, e));
    for (const FrameEntry& e : parser.streams[1]->frames()) audio.push_back(chunkBytes(file, e));
    aviwriter::AviWriter writer(path);
    aviwriter::StreamSetup v = aviwriter::videoStream(makeFourCC("NRVK"), 1280, 720, 25, 1);
    v.fccHandler = makeFourCC("NRVK");
    v.format = parser.streams[0]->format;
    writer.addStream(v);
    writer.addStream(aviwriter::audioStream(parser.streams[1]->format));
    for (uint32_t i = 0; i < frames; ++i) {
        writer.writeChunk(0, video[i % video.size()]);
        writer.writeChunk(1, audio[i % audio.size()]);
    }
    writer.finish();
    file.close();
    std::filesystem::remove(sample);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: repair_bench_write FILE FRAMES\n");
        return 2;
    }
    try {
        write(argv[1], static_cast<uint32_t>(std::stoul(argv[2])));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "repair_bench_write: %s\n", e.what());
        return 1;
    }
}
