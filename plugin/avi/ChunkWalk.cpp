#include <algorithm>
#include <string>

#include "avi/ByteReader.h"
#include "avi/ChunkNode.h"

namespace {

bool contains(const std::vector<FourCC>& keys, FourCC key) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

// Reads the next chunk header into `node`; throws the file layer's errors.
void readHeader(fileio::File& file, ChunkNode& node) {
    node.offset = file.tell();
    uint8_t header[8];
    fileio::readExact(file, header, sizeof header);
    const avi::ByteReader r(header, sizeof header);
    node.id = r.u32(0);
    node.size = r.u32(4);
    if (node.isList()) {
        uint8_t type[4];
        fileio::readExact(file, type, sizeof type);
        node.listType = avi::ByteReader(type, sizeof type).u32(0);
    }
}

bool broken(WalkState& state, int64_t offset, const std::string& cause) {
    state.problems += "riff chunk at " + std::to_string(offset) + ": " + cause + "\n";
    return false;
}

}  // namespace

const ChunkNode* ChunkNode::findChild(FourCC wanted, bool list) const {
    for (const ChunkNode& c : children)
        if (c.isList() == list && c.key() == wanted) return &c;
    return nullptr;
}

bool readChunks(std::vector<ChunkNode>& list, fileio::File& file, uint64_t limit, const WalkRules& rules,
                WalkState& state, int depth) {
    bool ok = true;
    uint64_t pos = 0;
    int64_t at = file.tell();  // the chunk being read, for the messages
    try {
        while (pos < limit) {
            ChunkNode node;
            at = file.tell();
            readHeader(file, node);
            if (node.isList() && node.size < 4)
                return broken(state, at, "list size " + std::to_string(node.size) + " cannot hold its type");
            if (++state.nodes > kMaxWalkNodes)
                return broken(state, at,
                              "more than " + std::to_string(kMaxWalkNodes) + " chunks, the rest is not read");
            list.push_back(std::move(node));
            ChunkNode& added = list.back();
            if (added.isList() && contains(rules.descendTypes, added.listType)) {
                if (depth + 1 >= kMaxWalkDepth)
                    ok = broken(state, at,
                                "list nested " + std::to_string(kMaxWalkDepth) + " deep, its children are not read");
                else if (!readChunks(added.children, file, added.size - 4u, rules, state, depth + 1))
                    ok = false;
            }
            if (contains(rules.stopKeys, added.key())) return ok;
            const uint64_t length = (uint64_t(added.size) + 9u) & ~uint64_t(1);
            fileio::seekTo(file, added.offset + static_cast<int64_t>(length));
            pos += length;
        }
    } catch (const fileio::Error& e) {
        // A read or seek failure (a header cut off by the end of the file, a device
        // error) ends this level; the cause goes on with the chunk's offset.
        return broken(state, at, e.what());
    }
    return ok;
}
