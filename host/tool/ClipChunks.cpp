#include "ClipChunks.h"

#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>

namespace norvikimport {

namespace {

constexpr std::size_t kBitmapHeaderSize = 40;

struct Node {
    char id[5] = {};
    char type[5] = {};       // list type for RIFF and LIST
    std::uint64_t data = 0;  // offset of the data (after the list type for lists)
    std::uint64_t size = 0;  // bytes of data from `data` on
};

class Walker {
public:
    explicit Walker(const std::filesystem::path& clip) : m_file(clip, std::ios::binary) {
        if (!m_file) throw std::runtime_error("cannot open " + clip.string());
        m_file.seekg(0, std::ios::end);
        m_end = std::uint64_t(m_file.tellg());
    }

    // Calls visit for each chunk between begin and end.
    void children(std::uint64_t begin, std::uint64_t end, const std::function<void(const Node&)>& visit) {
        for (std::uint64_t at = begin; at + 8 <= end;) {
            std::uint8_t header[12] = {};
            read(at, header, 8);
            Node node;
            std::memcpy(node.id, header, 4);
            std::uint32_t size = 0;
            std::memcpy(&size, header + 4, 4);
            node.data = at + 8;
            node.size = size;
            if (node.data + node.size > end)
                throw std::runtime_error(std::string("chunk ") + node.id + " runs past its list");
            if (isList(node) && node.size >= 4) {
                read(node.data, header + 8, 4);
                std::memcpy(node.type, header + 8, 4);
                node.data += 4;
                node.size -= 4;
            }
            visit(node);
            at = node.data + node.size + (node.size & 1);
        }
    }

    std::vector<std::uint8_t> bytes(const Node& node) {
        std::vector<std::uint8_t> out(node.size);
        read(node.data, out.data(), out.size());
        return out;
    }

    std::uint64_t end() const { return m_end; }

private:
    static bool isList(const Node& node) { return !std::strcmp(node.id, "RIFF") || !std::strcmp(node.id, "LIST"); }

    void read(std::uint64_t offset, void* out, std::size_t size) {
        m_file.seekg(std::streamoff(offset));
        if (!m_file.read(static_cast<char*>(out), std::streamsize(size)))
            throw std::runtime_error("cannot read " + std::to_string(size) + " bytes at " + std::to_string(offset));
    }

    std::ifstream m_file;
    std::uint64_t m_end = 0;
};

bool isList(const Node& node, const char* type) {
    return !std::strcmp(node.id, "LIST") && !std::strcmp(node.type, type);
}

}  // namespace

ClipChunks readClipChunks(const std::filesystem::path& clip) {
    Walker walker(clip);
    ClipChunks chunks;
    int streams = 0, video = -1;
    std::string frameId;
    std::function<void(const Node&)> movi = [&](const Node& node) {
        if (isList(node, "rec ")) return walker.children(node.data, node.data + node.size, movi);
        const bool frameChunk = node.id[2] == 'd' && (node.id[3] == 'c' || node.id[3] == 'b');
        if (video >= 0 && frameChunk && std::string(node.id, 2) == frameId)
            chunks.frames.push_back({node.data, std::uint32_t(node.size)});
    };
    const auto streamList = [&](const Node& list) {
        std::vector<std::uint8_t> header, format;
        walker.children(list.data, list.data + list.size, [&](const Node& node) {
            if (!std::strcmp(node.id, "strh")) header = walker.bytes(node);
            if (!std::strcmp(node.id, "strf")) format = walker.bytes(node);
        });
        if (video < 0 && header.size() >= 4 && !std::memcmp(header.data(), "vids", 4) &&
            format.size() > kBitmapHeaderSize) {
            video = streams;
            frameId = std::string(1, char('0' + video / 10 % 10)) + char('0' + video % 10);
            chunks.streamFormat.assign(format.begin() + kBitmapHeaderSize, format.end());
        }
        ++streams;
    };
    const auto form = [&](const Node& node) {
        if (isList(node, "hdrl"))
            walker.children(node.data, node.data + node.size, [&](const Node& child) {
                if (isList(child, "strl")) streamList(child);
            });
        if (isList(node, "movi")) walker.children(node.data, node.data + node.size, movi);
    };
    walker.children(0, walker.end(), [&](const Node& node) {
        if (!std::strcmp(node.id, "RIFF") && (!std::strcmp(node.type, "AVI ") || !std::strcmp(node.type, "AVIX")))
            walker.children(node.data, node.data + node.size, form);
    });
    if (video < 0) throw std::runtime_error(clip.string() + " has no video stream");
    return chunks;
}

std::vector<std::uint8_t> readChunk(std::ifstream& file, const ClipChunks::Chunk& chunk) {
    std::vector<std::uint8_t> out(chunk.size);
    file.seekg(std::streamoff(chunk.offset));
    if (!file.read(reinterpret_cast<char*>(out.data()), std::streamsize(out.size())))
        throw std::runtime_error("cannot read the frame at " + std::to_string(chunk.offset));
    return out;
}

}  // namespace norvikimport
