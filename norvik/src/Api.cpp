// The exported C functions: argument checks, handle lookup, and a barrier that
// turns every exception into a result code.
#include <cstring>
#include <new>

#include "Decoder.h"
#include "Encoder.h"
#include "Guarded.h"
#include "norvik/norvik_common.h"
#include "Session.h"
#include "StreamFormat.h"

using namespace norvik;

namespace {

void describe(const StreamFormat& f, CodecFormat& out) {
    out = CodecFormat{f.width,      f.height, NORVIK_FORM_EXTENDED, NORVIK_FORM_VERSION, f.type->type, 0,
                      f.colorSpace, f.range,  f.fieldType};
}

// The common part of query and begin.
int32_t query(uint32_t handle, const void* block, uint32_t size, const CodecFormat* wanted, CodecFormat* out,
              StreamFormat& stream, DecodeTarget& target) {
    if (!findSession(handle)) return NORVIK_E_HANDLE;
    if (out == nullptr) return NORVIK_E_ARGUMENT;
    if (!parseStreamFormat(block, size, stream)) return NORVIK_E_STREAM_FORMAT;
    if (wanted != nullptr) {
        const int32_t r = resolveTarget(stream, *wanted, target);
        if (r != NORVIK_OK) return r;
    }
    describe(stream, *out);
    return NORVIK_OK;
}

}  // namespace

extern "C" {

NORVIK_API int32_t norvik_library_init(void) {
    return guarded([] {
        addUser();
        return NORVIK_OK;
    });
}

NORVIK_API int32_t norvik_library_close(void) {
    return guarded([] {
        removeUser();
        return NORVIK_OK;
    });
}

NORVIK_API int32_t norvik_open(uint32_t* handle) {
    if (handle == nullptr) return NORVIK_E_ARGUMENT;
    *handle = 0;
    return guarded([&] {
        *handle = openSession();
        return *handle == 0 ? NORVIK_E_MEMORY : NORVIK_OK;
    });
}

NORVIK_API int32_t norvik_close(uint32_t handle) {
    return guarded([&] { return closeSession(handle) ? NORVIK_OK : NORVIK_E_HANDLE; });
}

NORVIK_API int32_t norvik_decompress_query(uint32_t handle, const void* block, uint32_t blockSize,
                                           const CodecFormat* wanted, CodecFormat* out) {
    return guarded([&] {
        StreamFormat stream;
        DecodeTarget target;
        return query(handle, block, blockSize, wanted, out, stream, target);
    });
}

NORVIK_API int32_t norvik_decompress_begin(uint32_t handle, const void* block, uint32_t blockSize,
                                           const CodecFormat* wanted, CodecFormat* out) {
    return guarded([&] {
        if (wanted == nullptr) return static_cast<int32_t>(NORVIK_E_ARGUMENT);
        StreamFormat stream;
        DecodeTarget target;
        const int32_t r = query(handle, block, blockSize, wanted, out, stream, target);
        if (r != NORVIK_OK) return r;
        auto session = findSession(handle);
        if (!session) return static_cast<int32_t>(NORVIK_E_HANDLE);
        session->decoder.reset();
        session->decoder.emplace(stream, target);
        return static_cast<int32_t>(NORVIK_OK);
    });
}

NORVIK_API int32_t norvik_decompress(uint32_t handle, const void* frame, uint32_t frameSize,
                                     const CodecPlane planes[4]) {
    return guarded([&] {
        auto session = findSession(handle);
        if (!session) return static_cast<int32_t>(NORVIK_E_HANDLE);
        if (!session->decoder) return static_cast<int32_t>(NORVIK_E_STATE);
        if (frame == nullptr && frameSize != 0) return static_cast<int32_t>(NORVIK_E_ARGUMENT);
        return session->decoder->decode(static_cast<const uint8_t*>(frame), frameSize, planes, session->pool());
    });
}

NORVIK_API int32_t norvik_decompress_end(uint32_t handle) {
    return guarded([&] {
        auto session = findSession(handle);
        if (!session) return static_cast<int32_t>(NORVIK_E_HANDLE);
        if (!session->decoder) return static_cast<int32_t>(NORVIK_E_STATE);
        session->decoder.reset();
        return static_cast<int32_t>(NORVIK_OK);
    });
}

NORVIK_API int32_t norvik_get_param(uint32_t handle, uint32_t param, void* value, uint32_t valueSize) {
    return guarded([&] {
        if (!findSession(handle)) return static_cast<int32_t>(NORVIK_E_HANDLE);
        if (value == nullptr || valueSize != 4) return static_cast<int32_t>(NORVIK_E_ARGUMENT);
        uint32_t type;
        std::memcpy(&type, value, 4);
        const OutputType* out = findOutputType(type);
        if (out == nullptr) return static_cast<int32_t>(NORVIK_E_PARAM);
        uint32_t answer;
        if (param == NORVIK_PARAM_CAN_FLIP)
            answer = 1;
        else if (param == NORVIK_PARAM_RANGE_32768)
            answer = out->bits == 16 ? 1 : 0;
        else
            return static_cast<int32_t>(NORVIK_E_PARAM);
        std::memcpy(value, &answer, 4);
        return static_cast<int32_t>(NORVIK_OK);
    });
}

NORVIK_API int32_t norvik_set_thread_count(uint32_t handle, uint32_t threads) {
    return guarded([&] {
        auto session = findSession(handle);
        if (!session) return static_cast<int32_t>(NORVIK_E_HANDLE);
        if (threads > 64) return static_cast<int32_t>(NORVIK_E_ARGUMENT);
        session->threads = threads;
        return static_cast<int32_t>(NORVIK_OK);
    });
}

}  // extern "C"
