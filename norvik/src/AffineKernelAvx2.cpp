// The fixed-point affine kernel for AVX2 processors (this file is compiled with
// AVX2 enabled where SimdKernels.h says the variant exists).
#include <cstring>

#include "SimdKernels.h"

#if NORVIK_HAVE_AVX2_KERNELS
namespace norvik::avx2 {
#include "AffineKernel.inc"
}  // namespace norvik::avx2
#endif
