// One handle of the codec library, open for the object's whole life. Every failed
// call throws NorvikError naming the call and its arguments.
//
// Not thread-safe: one handle serves one caller at a time. Several NorvikCodecs
// may be alive at once, on different threads.
#pragma once

#include <cstdint>

#include "codec/NorvikLibrary.h"

class NorvikCodec {
public:
    // Initialises the library and opens a handle; throws NorvikError with
    // "NorvikCodec(): norvik_library_init()" or "NorvikCodec(): norvik_open()".
    NorvikCodec();
    // Closes the handle and the library when the handle is non-zero; a begun
    // decompression is not ended first. Never throws.
    ~NorvikCodec();
    NorvikCodec(const NorvikCodec&) = delete;
    NorvikCodec& operator=(const NorvikCodec&) = delete;

    // Checks a stream format block (and a wanted output, which may be null) and
    // fills `out` with the compressed stream's description.
    void decompressQuery(const CodecBuffer& block, const CodecFormat* wanted, CodecFormat& out);
    void decompressBegin(const CodecBuffer& block, const CodecFormat& wanted, CodecFormat& out);
    // Decodes one frame into the four planes.
    void decompress(const CodecBuffer& frame, const CodecPlane planes[4]);
    void decompressEnd();
    // The answer of parameter `param` for `type` (non-zero means yes).
    uint32_t getParam(uint32_t param, uint32_t type);
    // Succeeds when `source` can be compressed into `destination`'s type.
    void compressQuery(const CodecFormat& source, const CodecFormat& destination);

    uint32_t handle() const { return m_handle; }

private:
    uint32_t m_handle = 0;
};
