// The functions the importer imports from the codec library (norvik_common64.dll
// on Windows, libnorvik_common.so on Linux) and the records it exchanges with it.
//
// Results are 0 on success, any other value an error code whose text comes from
// norvik_get_string category 2. A handle is a 32-bit value, 0 meaning none.
#pragma once

#include <cstdint>
#include <string>

// A format: nine 32-bit words. Records the importer builds use form marker 254
// and form version 1; a record for the library to fill is 0, 0, 254, 1, 0, 0, 0, 0, 0.
struct CodecFormat {
    uint32_t width;
    uint32_t height;
    uint32_t form;        // 254: the nine-word form
    uint32_t version;     // 1
    uint32_t type;        // compressed type (101..123) or output type
    uint32_t flags;       // bit 0: rows bottom-up; bit 1: the 0..32768 range
    uint32_t colorSpace;  // 1 Rec.601, 2 Rec.709
    uint32_t range;       // 1 limited, 2 full
    uint32_t fieldType;   // the host's field type
};
static_assert(sizeof(CodecFormat) == 36);

// A block of bytes owned by the caller.
struct CodecBuffer {
    const void* data;
    uint32_t size;
};

// One output plane owned by the caller.
struct CodecPlane {
    uint64_t data;
    uint32_t rowStride;
    uint32_t planeSize;
};
static_assert(sizeof(CodecPlane) == 16);

constexpr uint32_t kCodecFormExtended = 254;
constexpr uint32_t kCodecFormVersion = 1;

// Categories of norvik_get_string.
enum CodecStringCategory : uint32_t {
    kCodecStringType = 1,
    kCodecStringError = 2,
    kCodecStringColorSpace = 3,
    kCodecStringParam = 4,
};

// Parameters of norvik_get_param.
enum CodecParam : uint32_t {
    kCodecParamCanFlip = 7,
    kCodecParamRange32768 = 9,
};

extern "C" {
int32_t norvik_library_init(void);
int32_t norvik_open(uint32_t* handle);
int32_t norvik_decompress_query(uint32_t handle, const void* block, uint32_t blockSize, const CodecFormat* wanted,
                                CodecFormat* out);
int32_t norvik_decompress_begin(uint32_t handle, const void* block, uint32_t blockSize, const CodecFormat* wanted,
                                CodecFormat* out);
int32_t norvik_decompress(uint32_t handle, const void* frame, uint32_t frameSize, const CodecPlane planes[4]);
int32_t norvik_decompress_end(uint32_t handle);
int32_t norvik_get_param(uint32_t handle, uint32_t param, void* value, uint32_t valueSize);
int32_t norvik_compress_query(uint32_t handle, const CodecFormat* source, const CodecFormat* destination,
                              uint32_t* output, const void* reserved);
const char* norvik_get_string(uint32_t category, int32_t number);
int32_t norvik_close(uint32_t handle);
int32_t norvik_library_close(void);
}

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
