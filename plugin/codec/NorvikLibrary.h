// The codec library as the importer sees it (norvik_common64.dll on Windows,
// libnorvik_common.so on Linux): its functions and records come from the library's
// own public header, so a call that does not match the library fails to compile.
// Here are only the importer's names for the library's constants and two helpers.
//
// Results are 0 on success, any other value an error code whose text comes from
// norvik_get_string category 2. A handle is a 32-bit value, 0 meaning none.
#pragma once

#include <cstdint>
#include <string>

#include "norvik/norvik_common.h"

constexpr uint32_t kCodecFormExtended = NORVIK_FORM_EXTENDED;
constexpr uint32_t kCodecFormVersion = NORVIK_FORM_VERSION;

// Categories of norvik_get_string.
enum CodecStringCategory : uint32_t {
    kCodecStringType = NORVIK_STR_TYPE,
    kCodecStringError = NORVIK_STR_ERROR,
    kCodecStringColorSpace = NORVIK_STR_COLOR_SPACE,
    kCodecStringParam = NORVIK_STR_PARAM,
};

// Parameters of norvik_get_param.
enum CodecParam : uint32_t {
    kCodecParamCanFlip = NORVIK_PARAM_CAN_FLIP,
    kCodecParamRange32768 = NORVIK_PARAM_RANGE_32768,
};

// A record for the library to fill: 0, 0, 254, 1 and five zeros.
inline CodecFormat emptyCodecFormat() {
    return CodecFormat{0, 0, kCodecFormExtended, kCodecFormVersion, 0, 0, 0, 0, 0};
}

// The library's name of a type, colour space, error or parameter, copied at once:
// the library may reuse its text buffer at its next call.
inline std::string codecString(uint32_t category, int32_t number) {
    const char* text = norvik_get_string(category, number);
    return text ? std::string(text) : std::string();
}
