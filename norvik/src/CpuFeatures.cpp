// The processor query needs compiler-specific code: it is kept to this file.
#include "CpuFeatures.h"

#include <cstdlib>
#include <cstring>

#if defined(_MSC_VER) && (defined(_M_X64) || defined(_M_IX86))
#include <intrin.h>
#endif

#include "SimdKernels.h"

namespace norvik {

namespace {

// AVX2 with BMI1 and BMI2, which every AVX2 processor also has.
bool cpuHasAvx2() {
#if !NORVIK_HAVE_AVX2_KERNELS
    return false;
#elif defined(__GNUC__) || defined(__clang__)
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2");
#elif defined(_MSC_VER)
    int info[4];
    __cpuid(info, 0);
    if (info[0] < 7) return false;
    __cpuidex(info, 7, 0);
    const bool avx2 = (info[1] & (1 << 5)) != 0 && (info[1] & (1 << 3)) != 0 && (info[1] & (1 << 8)) != 0;
    __cpuid(info, 1);
    const bool osSavesYmm = (info[2] & (1 << 27)) != 0 && (_xgetbv(0) & 6) == 6;
    return avx2 && osSavesYmm;
#else
    return false;
#endif
}

}  // namespace

SimdLevel simdLevel() {
    static const bool avx2 = cpuHasAvx2();
    const char* cap = std::getenv("NORVIK_SIMD");
    if (cap != nullptr && std::strcmp(cap, "reference") == 0) return SimdLevel::Reference;
    if (cap != nullptr && std::strcmp(cap, "portable") == 0) return SimdLevel::Portable;
    return avx2 ? SimdLevel::Avx2 : SimdLevel::Portable;
}

}  // namespace norvik
