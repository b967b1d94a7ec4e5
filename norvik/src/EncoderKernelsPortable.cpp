// The encoder's passes for any processor.
#include "EncoderKernels.h"

#include "BitIo.h"
#include "FrameLayout.h"

namespace norvik::portable {
#include "EncoderKernels.inc"
}  // namespace norvik::portable
