// The compressed frames of a clip's first video stream, found by walking the AVI
// file's RIFF structure itself (the stream list and every movi list of the "AVI "
// and "AVIX" forms) rather than through the importer's parser and indexes, so
// that reference decodes do not share the importer's reading of the file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace norvikimport {

struct ClipChunks {
    struct Chunk {
        std::uint64_t offset = 0;  // of the chunk's data
        std::uint32_t size = 0;
    };
    std::vector<std::uint8_t> streamFormat;  // the video format chunk's bytes after the 40-byte bitmap header
    std::vector<Chunk> frames;               // in file order, empty chunks included
};

// Throws std::runtime_error when the file cannot be read, has no video stream,
// or a chunk runs past its list.
ClipChunks readClipChunks(const std::filesystem::path& clip);

// The bytes of one chunk; throws std::runtime_error when they cannot be read.
std::vector<std::uint8_t> readChunk(std::ifstream& file, const ClipChunks::Chunk& chunk);

}  // namespace norvikimport
