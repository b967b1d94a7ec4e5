// The frame layout: header, offset table and coded slice-planes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "StreamFormat.h"

namespace norvik {

inline constexpr size_t kFrameHeaderSize = 12;
inline constexpr size_t kSlicePlaneHeaderSize = 8;

enum Method : uint8_t { kStored = 0, kLeft = 1, kGradient = 2, kMedian = 3 };

// One coded slice-plane inside a frame (pointers into the caller's frame).
struct SlicePlaneView {
    uint8_t method = 0;
    uint8_t riceParameter = 0;
    const uint8_t* payload = nullptr;
    uint32_t payloadSize = 0;
};

// Rows of one plane that slice `slice` covers.
struct RowSpan {
    uint32_t first = 0;
    uint32_t count = 0;
};
RowSpan sliceRows(const StreamFormat& f, uint32_t slice, uint32_t plane);

// Checks a whole frame against the stream and fills `out` with S x P views
// (slice by slice, plane by plane). Returns false for any malformed frame: wrong
// magic or sizes, offsets outside the frame, unknown methods, a Rice parameter
// above the sample depth, or a stored payload of the wrong size.
bool parseFrame(const uint8_t* data, size_t size, const StreamFormat& f, std::vector<SlicePlaneView>& out);

}  // namespace norvik
