#include "FixedAffine.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace norvik {

uint16_t exactComponent(const Affine& a, int j, const double in[3], uint16_t fullScale) {
    const double full = fullScale;
    const double v = a.m[j][0] * in[0] + a.m[j][1] * in[1] + a.m[j][2] * in[2] + a.off[j];
    return v <= 0.0 ? 0 : v >= full ? fullScale : static_cast<uint16_t>(v + 0.5);
}

namespace {

// Chooses the largest fraction width (at most 20 bits) whose sums fit in 32
// bits. Rounding each coefficient and the offset to that width moves a sum by at
// most half a unit per input unit: margin covers that plus the double-precision
// evaluation's own error. Returns false when near-ties would not be rare.
bool makeFixed(const Affine& a, unsigned inBits, uint16_t fullScale, FixedAffineCoefficients& k) {
    const double maxIn = static_cast<double>((1u << inBits) - 1u);
    const auto margin = static_cast<int32_t>(std::floor(0.5 * (3.0 * maxIn + 1.0))) + 2;
    for (unsigned shift = 20; shift >= 8; --shift) {
        const double unit = std::ldexp(1.0, static_cast<int>(shift));
        bool fits = margin * 64.0 <= unit;
        for (int j = 0; j < 3 && fits; ++j) {
            double bound = margin + unit;
            for (int i = 0; i < 3; ++i) {
                const double m = std::nearbyint(a.m[j][i] * unit);
                bound += std::fabs(m) * maxIn;
                k.m[j][i] = static_cast<int32_t>(m);
            }
            const double add = std::nearbyint(a.off[j] * unit) + unit / 2;
            bound += std::fabs(add);
            k.add[j] = static_cast<int32_t>(add);
            fits = bound < 2147483647.0;
        }
        if (fits) {
            k.shift = shift;
            k.margin = margin;
            k.full = fullScale;
            return true;
        }
    }
    return false;
}

// Calls redo(i) for every i in [0, count) whose nearTie[i] the kernel set, or
// for every i when no kernel ran (fixedUsed false). Flagged entries are rare, so
// memchr skips to the next.
template <class Redo>
void redoFlagged(bool fixedUsed, uint32_t flagged, uint32_t count, const uint8_t* nearTie, Redo redo) {
    if (flagged == 0) return;
    for (uint32_t i = 0; i < count; ++i) {
        if (fixedUsed) {
            const void* next = std::memchr(nearTie + i, 1, count - i);
            if (next == nullptr) return;
            i = static_cast<uint32_t>(static_cast<const uint8_t*>(next) - nearTie);
        }
        redo(i);
    }
}

}  // namespace

AffineRows::AffineRows(const Affine& a, unsigned inBits, uint16_t fullScale, SimdLevel simd)
    : m_exact(a), m_fullScale(fullScale), m_simd(simd) {
    m_fixedUsable = simd != SimdLevel::Reference && makeFixed(a, inBits, fullScale, m_fixed);
}

void AffineRows::apply(const uint16_t* const in[3], uint16_t* const out[3], uint32_t width, uint8_t* nearTie) const {
    uint32_t flagged = width;
    if (m_fixedUsable) {
#if NORVIK_HAVE_AVX2_KERNELS
        if (m_simd == SimdLevel::Avx2)
            flagged = avx2::applyFixedAffine(m_fixed, in, out, width, nearTie);
        else
#endif
            flagged = portable::applyFixedAffine(m_fixed, in, out, width, nearTie);
    }
    redoFlagged(m_fixedUsable, flagged, width, nearTie, [&](uint32_t x) {
        const double v[3] = {static_cast<double>(in[0][x]), static_cast<double>(in[1][x]),
                             static_cast<double>(in[2][x])};
        for (int j = 0; j < 3; ++j) out[j][x] = exactComponent(m_exact, j, v, m_fullScale);
    });
}

void AffineRows::applyPairs(const uint16_t* y, const uint16_t* cb, const uint16_t* cr, uint32_t pairs,
                            uint16_t* outY, uint16_t* outCb, uint16_t* outCr, uint8_t* nearTie) const {
    uint32_t flagged = pairs;
    if (m_fixedUsable) {
#if NORVIK_HAVE_AVX2_KERNELS
        if (m_simd == SimdLevel::Avx2)
            flagged = avx2::applyFixedAffinePairs(m_fixed, y, cb, cr, pairs, outY, outCb, outCr, nearTie);
        else
#endif
            flagged = portable::applyFixedAffinePairs(m_fixed, y, cb, cr, pairs, outY, outCb, outCr, nearTie);
    }
    redoFlagged(m_fixedUsable, flagged, pairs, nearTie, [&](uint32_t i) {
        uint32_t sum[3] = {0, 0, 0};
        for (uint32_t x = 2 * i; x < 2 * i + 2; ++x) {
            const double v[3] = {static_cast<double>(y[x]), static_cast<double>(cb[i]), static_cast<double>(cr[i])};
            outY[x] = exactComponent(m_exact, 0, v, m_fullScale);
            for (int j = 1; j < 3; ++j) sum[j] += exactComponent(m_exact, j, v, m_fullScale);
        }
        outCb[i] = static_cast<uint16_t>((sum[1] + 1) >> 1);
        outCr[i] = static_cast<uint16_t>((sum[2] + 1) >> 1);
    });
}

}  // namespace norvik
