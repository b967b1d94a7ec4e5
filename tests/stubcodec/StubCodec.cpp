#include "StubCodec.h"

#include <cstdio>
#include <set>
#include <utility>

#include "platform/Export.h"

namespace {

struct StubState {
    int32_t initResult = 0, openResult = 0;
    CodecFormat stream{1920, 1080, kCodecFormExtended, kCodecFormVersion, 104, 0, 2, 1, 0};
    bool acceptAllOutputs = true;
    std::set<std::pair<uint32_t, uint32_t>> outputs;
    uint32_t maxParamType = 1000, paramAnswer = 1;
    std::set<uint32_t> sources;
    int32_t libraryUsers = 0, openHandles = 0;
    uint32_t nextHandle = 1;
};

StubState g_state;  // constructed when the library loads, before any test runs

constexpr int32_t kStubRefused = 6;
constexpr int32_t kStubBadBlock = 4;

}  // namespace

extern "C" {

NORVIK_VISIBLE void norvik_stub_reset() { g_state = StubState{}; }
NORVIK_VISIBLE void norvik_stub_fail_init(int32_t code) { g_state.initResult = code; }
NORVIK_VISIBLE void norvik_stub_fail_open(int32_t code) { g_state.openResult = code; }

NORVIK_VISIBLE void norvik_stub_set_stream(uint32_t width, uint32_t height, uint32_t type, uint32_t colorSpace,
                                           uint32_t range) {
    g_state.stream = CodecFormat{width, height, kCodecFormExtended, kCodecFormVersion, type, 0, colorSpace, range, 0};
}

NORVIK_VISIBLE void norvik_stub_accept_outputs(const uint32_t* pairs, uint32_t count) {
    g_state.acceptAllOutputs = false;
    g_state.outputs.clear();
    for (uint32_t i = 0; i < count; ++i) g_state.outputs.insert({pairs[2 * i], pairs[2 * i + 1]});
}

NORVIK_VISIBLE void norvik_stub_set_params(uint32_t maxType, uint32_t answer) {
    g_state.maxParamType = maxType;
    g_state.paramAnswer = answer;
}

NORVIK_VISIBLE void norvik_stub_accept_sources(const uint32_t* types, uint32_t count) {
    g_state.sources.clear();
    for (uint32_t i = 0; i < count; ++i) g_state.sources.insert(types[i]);
}

NORVIK_VISIBLE int32_t norvik_stub_library_users() { return g_state.libraryUsers; }
NORVIK_VISIBLE int32_t norvik_stub_open_handles() { return g_state.openHandles; }

NORVIK_VISIBLE int32_t norvik_library_init(void) {
    if (g_state.initResult) return g_state.initResult;
    ++g_state.libraryUsers;
    return 0;
}

NORVIK_VISIBLE int32_t norvik_open(uint32_t* handle) {
    if (g_state.openResult) return g_state.openResult;
    ++g_state.openHandles;
    *handle = g_state.nextHandle++;
    return 0;
}

NORVIK_VISIBLE int32_t norvik_decompress_query(uint32_t, const void* block, uint32_t blockSize,
                                               const CodecFormat* wanted, CodecFormat* out) {
    if (!block || blockSize == 0 || g_state.stream.type == 0) return kStubBadBlock;
    if (wanted && !g_state.acceptAllOutputs && !g_state.outputs.count({wanted->type, wanted->colorSpace}))
        return kStubRefused;
    *out = g_state.stream;
    return 0;
}

NORVIK_VISIBLE int32_t norvik_decompress_begin(uint32_t handle, const void* block, uint32_t blockSize,
                                               const CodecFormat* wanted, CodecFormat* out) {
    return norvik_decompress_query(handle, block, blockSize, wanted, out);
}

NORVIK_VISIBLE int32_t norvik_decompress(uint32_t, const void* frame, uint32_t frameSize, const CodecPlane*) {
    return frame && frameSize ? 0 : 8;
}

NORVIK_VISIBLE int32_t norvik_decompress_end(uint32_t) { return 0; }

NORVIK_VISIBLE int32_t norvik_get_param(uint32_t, uint32_t, void* value, uint32_t valueSize) {
    if (!value || valueSize != 4) return 2;
    auto* word = static_cast<uint32_t*>(value);
    if (*word > g_state.maxParamType) return 11;
    *word = g_state.paramAnswer;
    return 0;
}

NORVIK_VISIBLE int32_t norvik_compress_query(uint32_t, const CodecFormat* source, const CodecFormat*, uint32_t*,
                                             const void*) {
    return source && g_state.sources.count(source->type) ? 0 : 10;
}

NORVIK_VISIBLE const char* norvik_get_string(uint32_t category, int32_t number) {
    thread_local char text[64];
    std::snprintf(text, sizeof(text), "stub%u-%d", category, number);
    return text;
}

NORVIK_VISIBLE int32_t norvik_close(uint32_t) {
    --g_state.openHandles;
    return 0;
}

NORVIK_VISIBLE int32_t norvik_library_close(void) {
    --g_state.libraryUsers;
    return 0;
}

}  // extern "C"
