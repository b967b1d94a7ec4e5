#include "codec/NorvikCodec.h"

#include <string>

#include "codec/CodecText.h"
#include "codec/NorvikError.h"

namespace {

std::string named(uint32_t category, uint32_t number) {
    return codecString(category, static_cast<int32_t>(number)) + "(" + std::to_string(number) + ")";
}

}  // namespace

NorvikCodec::NorvikCodec() {
    if (const int32_t r = norvik_library_init()) throw NorvikError("NorvikCodec(): norvik_library_init()", r);
    uint32_t handle = 0;
    if (const int32_t r = norvik_open(&handle)) {
        norvik_library_close();  // balance the init: this object never owned a handle
        throw NorvikError("NorvikCodec(): norvik_open()", r);
    }
    m_handle = handle;
}

NorvikCodec::~NorvikCodec() {
    if (m_handle == 0) return;
    norvik_close(m_handle);
    norvik_library_close();
}

void NorvikCodec::decompressQuery(const CodecBuffer& block, const CodecFormat* wanted, CodecFormat& out) {
    if (const int32_t r = norvik_decompress_query(m_handle, block.data, block.size, wanted, &out))
        throw NorvikError("decompressQuery(" + bufferToText(&block) + ", " + formatToText(wanted) + ")", r);
}

void NorvikCodec::decompressBegin(const CodecBuffer& block, const CodecFormat& wanted, CodecFormat& out) {
    if (const int32_t r = norvik_decompress_begin(m_handle, block.data, block.size, &wanted, &out))
        throw NorvikError("decompressBegin(" + bufferToText(&block) + ", " + formatToText(&wanted) + ")", r);
}

void NorvikCodec::decompress(const CodecBuffer& frame, const CodecPlane planes[4]) {
    if (const int32_t r = norvik_decompress(m_handle, frame.data, frame.size, planes))
        throw NorvikError("decompress(" + bufferToText(&frame) + ", " + planesToText(planes) + ")", r);
}

void NorvikCodec::decompressEnd() {
    if (const int32_t r = norvik_decompress_end(m_handle)) throw NorvikError("decompressEnd()", r);
}

uint32_t NorvikCodec::getParam(uint32_t param, uint32_t type) {
    uint32_t value = type;
    if (const int32_t r = norvik_get_param(m_handle, param, &value, sizeof(value)))
        throw NorvikError("getParam(" + named(kCodecStringParam, param) + ", " + named(kCodecStringType, type) + ")",
                          r);
    return value;
}

void NorvikCodec::compressQuery(const CodecFormat& source, const CodecFormat& destination) {
    uint32_t output = 0;  // the library's answer beyond yes or no is not used
    if (const int32_t r = norvik_compress_query(m_handle, &source, &destination, &output, nullptr))
        throw NorvikError(
            "compressQuery(" + formatToText(&source) + ", " + formatToText(&destination) + ", " + "null" + ")", r);
}
