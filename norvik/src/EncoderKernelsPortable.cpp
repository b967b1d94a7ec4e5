// The encoder's passes for any processor.
#include "EncoderKernels.h"

#include "BitIo.h"
#include "FrameLayout.h"

namespace norvik::portable {
#include "EncoderKernels.inc"

void writeCodes(const uint16_t* z, size_t count, unsigned k, unsigned n, BitWriter& writer) {
    writer.writeRices<IsaTag>(z, count, k, n);
}
}  // namespace norvik::portable
