// The serial row decoders for AVX2-class processors (compiled with BMI1/BMI2
// enabled where SimdKernels.h says the variant exists).

#include "RowChains.h"

#if NORVIK_HAVE_AVX2_KERNELS
namespace norvik::avx2 {
#include "RowChains.inc"
}  // namespace norvik::avx2
#endif
