// Test helpers: a file's bytes, and the chunks of a RIFF file (AVI or WAV) in file
// order, with the contents of RIFF and LIST chunks walked as chunks too.
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace riff_test {

inline std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

struct Chunk {
    std::string id;
    size_t data;  // offset of the chunk's data
    uint32_t size;
};

inline std::vector<Chunk> chunks(const std::vector<uint8_t>& file, size_t from = 0, size_t end = SIZE_MAX) {
    std::vector<Chunk> out;
    end = std::min(end, file.size());
    for (size_t at = from; at + 8 <= end;) {
        const std::string id(reinterpret_cast<const char*>(&file[at]), 4);
        uint32_t size = 0;
        std::memcpy(&size, &file[at + 4], 4);
        out.push_back({id, at + 8, size});
        if (id == "RIFF" || id == "LIST") {
            const auto inner = chunks(file, at + 12, at + 8 + size);
            out.insert(out.end(), inner.begin(), inner.end());
        }
        at += 8 + size + (size & 1);
    }
    return out;
}

// The data of the chunks with this id, in order.
inline std::vector<std::vector<uint8_t>> chunkData(const std::vector<uint8_t>& file, const std::string& id) {
    std::vector<std::vector<uint8_t>> out;
    for (const Chunk& c : chunks(file))
        if (c.id == id) out.emplace_back(file.begin() + c.data, file.begin() + c.data + c.size);
    return out;
}

}  // namespace riff_test
