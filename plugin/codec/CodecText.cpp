#include "codec/CodecText.h"

#include <cinttypes>
#include <cstdio>

namespace {

std::string hex16(uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof(text), "0x%016" PRIX64, value);
    return text;
}

// "<name>(<number>)"
void appendNamed(std::string& text, uint32_t category, uint32_t number) {
    text += codecString(category, static_cast<int32_t>(number));
    text += '(';
    text += std::to_string(number);
    text += ')';
}

void appendNumber(std::string& text, uint32_t number, char after) {
    text += std::to_string(number);
    text += after;
}

}  // namespace

std::string addressToText(const void* address) { return hex16(reinterpret_cast<uintptr_t>(address)); }

std::string bufferToText(const CodecBuffer* buffer) {
    if (!buffer) return "null";
    std::string text = "{";
    text += addressToText(buffer->data);
    text += ',';
    appendNumber(text, buffer->size, '}');
    return text;
}

std::string formatToText(const CodecFormat* format) {
    if (!format) return "null";
    const bool extended = format->form == kCodecFormExtended;
    std::string text = extended ? "{{" : "{";
    appendNumber(text, format->width, ',');
    appendNumber(text, format->height, ',');
    appendNamed(text, kCodecStringType, format->form);
    text += '}';
    if (!extended) return text;
    text += ',';
    appendNumber(text, format->version, ',');
    appendNamed(text, kCodecStringType, format->type);
    text += ',';
    appendNumber(text, format->flags, ',');
    appendNamed(text, kCodecStringColorSpace, format->colorSpace);
    text += ',';
    appendNumber(text, format->range, ',');
    appendNumber(text, format->fieldType, '}');
    return text;
}

std::string planesToText(const CodecPlane planes[4]) {
    std::string text = "{";
    for (int i = 0; i < 4; ++i) {
        if (i) text += ',';
        text += '{';
        text += hex16(planes[i].data);
        text += ',';
        appendNumber(text, planes[i].rowStride, ',');
        appendNumber(text, planes[i].planeSize, '}');
    }
    text += '}';
    return text;
}
