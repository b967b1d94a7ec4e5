#include "codec/CodecText.h"

#include <cinttypes>
#include <cstdio>

namespace {

std::string hex16(uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof(text), "0x%016" PRIX64, value);
    return text;
}

std::string named(uint32_t category, uint32_t number) {
    return codecString(category, static_cast<int32_t>(number)) + "(" + std::to_string(number) + ")";
}

}  // namespace

std::string addressToText(const void* address) { return hex16(reinterpret_cast<uintptr_t>(address)); }

std::string bufferToText(const CodecBuffer* buffer) {
    if (!buffer) return "null";
    return "{" + addressToText(buffer->data) + "," + std::to_string(buffer->size) + "}";
}

std::string formatToText(const CodecFormat* format) {
    if (!format) return "null";
    const std::string size = std::to_string(format->width) + "," + std::to_string(format->height) + ",";
    if (format->form != kCodecFormExtended) return "{" + size + named(kCodecStringType, format->form) + "}";
    return "{{" + size + named(kCodecStringType, format->form) + "}," + std::to_string(format->version) + "," +
           named(kCodecStringType, format->type) + "," + std::to_string(format->flags) + "," +
           named(kCodecStringColorSpace, format->colorSpace) + "," + std::to_string(format->range) + "," +
           std::to_string(format->fieldType) + "}";
}

std::string planesToText(const CodecPlane planes[4]) {
    std::string text = "{";
    for (int i = 0; i < 4; ++i) {
        if (i) text += ",";
        text += "{" + hex16(planes[i].data) + "," + std::to_string(planes[i].rowStride) + "," +
                std::to_string(planes[i].planeSize) + "}";
    }
    return text + "}";
}
