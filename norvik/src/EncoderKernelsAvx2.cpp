// The encoder's passes for AVX2 processors (this file is compiled with AVX2
// enabled where SimdKernels.h says the variant exists).
#include "EncoderKernels.h"

#include "BitIo.h"
#include "FrameLayout.h"

#if NORVIK_HAVE_AVX2_KERNELS
namespace norvik::avx2 {
#include "EncoderKernels.inc"
}  // namespace norvik::avx2
#endif
