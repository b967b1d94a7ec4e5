// The fixed-point affine kernel for any processor.
#include <cstring>

#include "SimdKernels.h"

namespace norvik::portable {
#include "AffineKernel.inc"
}  // namespace norvik::portable
