// What the fuzz targets and their seed writer share: files as bytes, the small
// clips they start from, and the byte patches an input makes to a valid file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "AviWriter.h"
#include "ClipMaker.h"

namespace fuzzinput {

inline std::vector<uint8_t> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Replaces `path` with `size` bytes of `data`.
inline void writeFile(const std::filesystem::path& path, const uint8_t* data, size_t size) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), std::streamsize(size));
}

// The bytes of a small file by the AVI writer with options `o` (four super index
// slots): 4 x 4 video and 16-bit stereo audio, six chunks each; when `varied`, the
// third pair in a rec list and the fourth audio chunk empty.
inline std::vector<uint8_t> writerFile(aviwriter::Options o, bool varied) {
    // A name of this process alone: CTest runs a target and its regression replay at once.
    const auto path =
        std::filesystem::temp_directory_path() / ("norvik-fuzz-writer-" + std::to_string(std::random_device{}()));
    o.superIndexSlots = 4;
    {
        aviwriter::AviWriter w(path.string(), o);
        w.addVideoStream(aviwriter::videoStream(0, 4, 4, 25, 1));
        w.addAudioStream(aviwriter::pcmAudioStream(2, 8000, 16));
        for (int k = 0; k < 6; ++k) {
            if (varied && k == 2) w.beginRec();
            w.writeChunk(0, std::vector<uint8_t>(60 + k, uint8_t(k)), k % 2 == 0);
            w.writeChunk(1, std::vector<uint8_t>(varied && k == 3 ? 0 : 32, 1));
            if (varied && k == 2) w.endRec();
        }
        w.finish();
    }
    std::vector<uint8_t> bytes = readFile(path);
    std::filesystem::remove(path);
    return bytes;
}

// 16 x 8 pictures, one encoder thread, RIFF forms of 2 KiB (so AVIX forms and both indexes).
inline clipmaker::ClipPlan smallClip(uint32_t type, uint32_t frames) {
    clipmaker::ClipPlan plan;
    plan.type = type;
    plan.width = 16;
    plan.height = 8;
    plan.frames = frames;
    plan.threads = 1;
    plan.riffLimit = 2048;
    return plan;
}

// `file` with the input's patches: records of (16-bit position, value); an input
// one byte longer than whole records also cuts the file at 16 times that byte.
inline std::vector<uint8_t> patched(std::vector<uint8_t> file, const uint8_t* data, size_t size) {
    for (size_t i = 0; i + 3 <= size; i += 3)
        file[(size_t(data[i]) | size_t(data[i + 1]) << 8) % file.size()] = data[i + 2];
    if (size % 3 == 1) file.resize((size_t(data[size - 1]) * 16) % file.size());
    return file;
}

}  // namespace fuzzinput
