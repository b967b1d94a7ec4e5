// The exported encoder functions.
#include <cstring>
#include <new>

#include "Encoder.h"
#include "Guarded.h"
#include "norvik/norvik_common.h"
#include "Session.h"
#include "Source.h"
#include "StreamFormat.h"

using namespace norvik;

namespace {

bool validOptions(const NorvikEncodeOptions& o, unsigned bits) {
    const bool methodOk = o.method <= 3 || o.method == NORVIK_AUTO;
    const bool kOk = o.riceParameter <= bits || o.riceParameter == NORVIK_AUTO;
    return methodOk && kOk;
}

// The stream a source of this size would be coded into, for the size checks.
bool sizedStream(const CompressedType& type, uint32_t width, uint32_t height, StreamFormat& f) {
    f.type = &type;
    f.colorSpace = 1;
    f.range = 1;
    f.width = width;
    f.height = height;
    f.sliceHeight = defaultSliceHeight(height);
    return validStreamFormat(f);
}

int32_t compressQuery(const CodecFormat& source, const CodecFormat& destination, uint32_t* maxFrameSize) {
    if (destination.form != NORVIK_FORM_EXTENDED || destination.version != NORVIK_FORM_VERSION) return NORVIK_E_RECORD;
    const CompressedType* type = findCompressedType(destination.type);
    if (type == nullptr) return NORVIK_E_OUTPUT;
    SourceLayout layout;
    const int32_t r = resolveSource(*type, source, layout);
    if (r != NORVIK_OK) return r;
    if ((destination.width != 0 && destination.width != source.width) ||
        (destination.height != 0 && destination.height != source.height))
        return NORVIK_E_SOURCE;
    const uint32_t width = source.width != 0 ? source.width : destination.width;
    const uint32_t height = source.height != 0 ? source.height : destination.height;
    uint64_t bound = 0;
    if (width != 0 || height != 0) {
        StreamFormat f;
        if (!sizedStream(*type, width, height, f)) return NORVIK_E_SOURCE;
        bound = Encoder(f, layout, NorvikEncodeOptions{NORVIK_AUTO, NORVIK_AUTO}).bound();
    }
    if (maxFrameSize != nullptr) *maxFrameSize = bound > UINT32_MAX ? 0 : static_cast<uint32_t>(bound);
    return NORVIK_OK;
}

}  // namespace

extern "C" {

NORVIK_API int32_t norvik_make_stream_format(uint32_t type, uint32_t colorSpace, uint32_t range, uint32_t width,
                                             uint32_t height, uint32_t fieldType, uint32_t sliceHeight, void* block,
                                             uint32_t blockSize) {
    return guarded([&] {
        if (block == nullptr || blockSize < kStreamFormatSize) return static_cast<int32_t>(NORVIK_E_ARGUMENT);
        StreamFormat f;
        f.type = findCompressedType(type);
        f.colorSpace = colorSpace;
        f.range = range;
        f.width = width;
        f.height = height;
        f.fieldType = fieldType;
        f.sliceHeight = sliceHeight == 0 ? defaultSliceHeight(height) : sliceHeight;
        if (!validStreamFormat(f)) return static_cast<int32_t>(NORVIK_E_STREAM_FORMAT);
        writeStreamFormat(f, static_cast<uint8_t*>(block));
        return static_cast<int32_t>(NORVIK_OK);
    });
}

NORVIK_API int32_t norvik_compress_query(uint32_t handle, const CodecFormat* source, const CodecFormat* destination,
                                         uint32_t* maxFrameSize, const void* /*reserved*/) {
    return guarded([&] {
        if (!findSession(handle)) return static_cast<int32_t>(NORVIK_E_HANDLE);
        if (source == nullptr || destination == nullptr) return static_cast<int32_t>(NORVIK_E_ARGUMENT);
        if (maxFrameSize != nullptr) *maxFrameSize = 0;
        return compressQuery(*source, *destination, maxFrameSize);
    });
}

NORVIK_API int32_t norvik_compress_begin(uint32_t handle, const CodecFormat* source, const void* block,
                                         uint32_t blockSize, const NorvikEncodeOptions* options) {
    return guarded([&] {
        auto session = findSession(handle);
        if (!session) return static_cast<int32_t>(NORVIK_E_HANDLE);
        if (source == nullptr) return static_cast<int32_t>(NORVIK_E_ARGUMENT);
        StreamFormat stream;
        if (!parseStreamFormat(block, blockSize, stream)) return static_cast<int32_t>(NORVIK_E_STREAM_FORMAT);
        SourceLayout layout;
        const int32_t r = resolveSource(*stream.type, *source, layout);
        if (r != NORVIK_OK) return r;
        if (source->width != stream.width || source->height != stream.height)
            return static_cast<int32_t>(NORVIK_E_SOURCE);
        const NorvikEncodeOptions o = options ? *options : NorvikEncodeOptions{NORVIK_AUTO, NORVIK_AUTO};
        if (!validOptions(o, stream.type->bits)) return static_cast<int32_t>(NORVIK_E_ARGUMENT);
        session->encoder.reset();
        session->encoder.emplace(stream, layout, o);
        return static_cast<int32_t>(NORVIK_OK);
    });
}

NORVIK_API int32_t norvik_compress_bound(uint32_t handle, uint32_t* maxFrameSize) {
    return guarded([&] {
        auto session = findSession(handle);
        if (!session) return static_cast<int32_t>(NORVIK_E_HANDLE);
        if (maxFrameSize == nullptr) return static_cast<int32_t>(NORVIK_E_ARGUMENT);
        if (!session->encoder) return static_cast<int32_t>(NORVIK_E_STATE);
        const uint64_t b = session->encoder->bound();
        *maxFrameSize = b > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(b);
        return static_cast<int32_t>(NORVIK_OK);
    });
}

NORVIK_API int32_t norvik_compress(uint32_t handle, const CodecPlane planes[4], void* out, uint32_t capacity,
                                   uint32_t* written) {
    return guarded([&] {
        auto session = findSession(handle);
        if (!session) return static_cast<int32_t>(NORVIK_E_HANDLE);
        if (out == nullptr || written == nullptr) return static_cast<int32_t>(NORVIK_E_ARGUMENT);
        *written = 0;
        if (!session->encoder) return static_cast<int32_t>(NORVIK_E_STATE);
        return session->encoder->encode(planes, static_cast<uint8_t*>(out), capacity, *written, session->pool());
    });
}

NORVIK_API int32_t norvik_compress_end(uint32_t handle) {
    return guarded([&] {
        auto session = findSession(handle);
        if (!session) return static_cast<int32_t>(NORVIK_E_HANDLE);
        if (!session->encoder) return static_cast<int32_t>(NORVIK_E_STATE);
        session->encoder.reset();
        return static_cast<int32_t>(NORVIK_OK);
    });
}

}  // extern "C"
