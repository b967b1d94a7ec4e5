// The encoder's passes for any processor.
#include "EncoderKernels.h"

#include "BitIo.h"
#include "FrameLayout.h"

namespace norvik::portable {
#include "EncoderKernels.inc"

void riceBits(const uint16_t* z, size_t count, unsigned first, unsigned last, unsigned n, uint64_t bits[4]) {
    for (unsigned c = 0; c < 4; ++c) bits[c] = 0;
    const uint32_t escape = 25 + n;
    for (size_t at = 0; at < count; at += 4096) {
        const size_t end = count - at < 4096 ? count : at + 4096;
        uint32_t part[4] = {0, 0, 0, 0};  // 4096 codes of at most 39 bits fit
        for (unsigned c = 0; c < 4; ++c) {
            const unsigned k = first + c < last ? first + c : last;
            for (size_t i = at; i < end; ++i) {
                const uint32_t q = z[i] >> k;
                part[c] += q < kEscapeZeros ? q + 1 + k : escape;
            }
        }
        for (unsigned c = 0; c < 4; ++c) bits[c] += part[c];
    }
}

void writeCodes(const uint16_t* z, size_t count, unsigned k, unsigned n, BitWriter& writer) {
    writer.writeRices<IsaTag>(z, count, k, n);
}
}  // namespace norvik::portable
