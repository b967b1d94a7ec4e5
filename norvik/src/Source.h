// The encoder's sources: which layouts it accepts and how it reads them into
// the coded planes of a compressed type.
#pragma once

#include <cstdint>

#include "ByteBuffer.h"
#include "norvik/norvik_common.h"
#include "StreamFormat.h"
#include "Types.h"

namespace norvik {

// How the caller hands a picture to the encoder.
struct SourceLayout {
    const OutputType* packed = nullptr;  // null: the coded planes themselves (planar source)
    bool bottomUp = false;
    bool range32768 = false;
};

// Checks a source record for a compressed type (sizes are checked by the caller);
// fills `layout` or returns the error code.
int32_t resolveSource(const CompressedType& type, const CodecFormat& source, SourceLayout& layout);

// Bytes a caller's plane must hold per row for the layout (plane p).
uint64_t sourceRowBytes(const StreamFormat& f, const SourceLayout& layout, uint32_t plane);

// Reads a whole picture into the coded planes (G, B - G, R - G, A or Y, U, V, A
// at the stream's depth). `planes` must have been checked with sourceRowBytes.
void readSource(const StreamFormat& f, const SourceLayout& layout, const CodecPlane planes[4],
                SampleBuffer coded[4]);

}  // namespace norvik
