// Test helpers: a file's bytes, and the data of a RIFF file's chunks (AVI or WAV)
// with one id, in file order, RIFF and LIST contents walked as chunks too.
#pragma once

#include <algorithm>
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

inline std::vector<std::vector<uint8_t>> chunkData(const std::vector<uint8_t>& file, const std::string& id,
                                                   size_t from = 0, size_t end = SIZE_MAX) {
    std::vector<std::vector<uint8_t>> out;
    end = std::min(end, file.size());
    for (size_t at = from; at + 8 <= end;) {
        const std::string name(reinterpret_cast<const char*>(&file[at]), 4);
        uint32_t size = 0;
        std::memcpy(&size, &file[at + 4], 4);
        if (name == id) out.emplace_back(file.begin() + at + 8, file.begin() + at + 8 + size);
        if (name == "RIFF" || name == "LIST")
            for (auto& inner : chunkData(file, id, at + 12, at + 8 + size)) out.push_back(std::move(inner));
        at += 8 + size + (size & 1);
    }
    return out;
}

}  // namespace riff_test
