// Names and texts of norvik_get_string.
#include <array>
#include <cstdio>
#include <string>

#include "norvik/norvik_common.h"

namespace {

const char* knownTypeName(int32_t t) {
    switch (t) {
        case 1: return "BGRX 8-bit";
        case 2: return "BGRA 8-bit";
        case 4: return "YUYV 4:2:2 8-bit";
        case 5: return "UYVY 4:2:2 8-bit";
        case 11: return "v210 4:2:2 10-bit";
        case 15: return "RGB 10-bit";
        case 16: return "XRGB 8-bit";
        case 19: return "ARGB 8-bit";
        case 31: return "BGRA 16-bit";
        case 32: return "BGRX 16-bit";
        case 49: return "VUYX 8-bit";
        case 50: return "VUYA 8-bit";
        case 101: return "Norvik RGB 8-bit";
        case 102: return "Norvik RGBA 8-bit";
        case 103: return "Norvik YUV 4:4:4 8-bit";
        case 104: return "Norvik YUV 4:2:2 8-bit";
        case 105: return "Norvik YUV 4:2:0 8-bit";
        case 106: return "Norvik YUVA 4:4:4:4 8-bit";
        case 107: return "Norvik greyscale 8-bit";
        case 108: return "Norvik YUV 4:2:2 10-bit";
        case 109: return "Norvik RGB 10-bit";
        case 110: return "Norvik RGBA 10-bit";
        case 111: return "Norvik RGB 12-bit";
        case 112: return "Norvik RGBA 12-bit";
        case 113: return "Norvik RGB 14-bit";
        case 114: return "Norvik RGBA 14-bit";
        case 115: return "Norvik greyscale 10-bit";
        case 118: return "Norvik YUV 4:4:4 10-bit";
        case 123: return "Norvik YUV 4:2:0 10-bit";
        case 254: return "extended format record";
        default: return nullptr;
    }
}

const char* errorText(int32_t code) {
    switch (code) {
        case NORVIK_OK: return "no error";
        case NORVIK_E_HANDLE: return "invalid handle";
        case NORVIK_E_ARGUMENT: return "invalid argument";
        case NORVIK_E_MEMORY: return "out of memory";
        case NORVIK_E_STREAM_FORMAT: return "invalid stream format block";
        case NORVIK_E_RECORD: return "unsupported format record form or version";
        case NORVIK_E_OUTPUT: return "output format not supported";
        case NORVIK_E_STATE: return "call out of order";
        case NORVIK_E_FRAME: return "corrupt or truncated frame";
        case NORVIK_E_PLANES: return "planes missing or too small";
        case NORVIK_E_SOURCE: return "source format not accepted by the encoder";
        case NORVIK_E_PARAM: return "unknown parameter or type";
        case NORVIK_E_INTERNAL: return "internal error";
        case NORVIK_E_CAPACITY: return "output buffer too small";
        default: return nullptr;
    }
}

// Texts for unknown numbers, built per thread: valid until the thread's next call.
const char* unknown(const char* what, int32_t number) {
    thread_local std::array<char, 64> text;
    std::snprintf(text.data(), text.size(), "unknown %s %d", what, static_cast<int>(number));
    return text.data();
}

}  // namespace

extern "C" NORVIK_API const char* norvik_get_string(uint32_t category, int32_t number) {
    const char* s = nullptr;
    switch (category) {
        case NORVIK_STR_TYPE: s = knownTypeName(number); return s ? s : unknown("type", number);
        case NORVIK_STR_ERROR: s = errorText(number); return s ? s : unknown("error", number);
        case NORVIK_STR_COLOR_SPACE:
            if (number == 1) return "Rec.601";
            if (number == 2) return "Rec.709";
            return unknown("colour space", number);
        case NORVIK_STR_PARAM:
            if (number == NORVIK_PARAM_CAN_FLIP) return "can flip";
            if (number == NORVIK_PARAM_RANGE_32768) return "supports the 0..32768 range";
            return unknown("parameter", number);
        default: return unknown("category", static_cast<int32_t>(category));
    }
}
