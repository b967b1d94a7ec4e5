// The encoder's passes for any processor.
#include "EncoderKernels.h"

#include "BitIo.h"
#include "FrameLayout.h"

namespace norvik::portable {
#include "EncoderKernels.inc"

void methodSums(const uint16_t* s, uint32_t w, uint32_t rows, unsigned n, uint64_t sums[4]) {
    const int32_t mask = static_cast<int32_t>((1u << n) - 1u);
    const int32_t half = 1 << (n - 1);
    for (unsigned m = 0; m < 4; ++m) sums[m] = 0;
    uint64_t common = zigzagResidual(s[0], half, mask, half);  // the same for every method
    for (uint32_t i = 1; i < w; ++i) common += zigzagResidual(s[i], s[i - 1], mask, half);
    for (uint32_t r = 1; r < rows; ++r) {
        const uint16_t* row = s + static_cast<size_t>(r) * w;
        const uint16_t* above = row - w;
        common += zigzagResidual(row[0], above[0], mask, half);
        uint32_t sl = 0, sg = 0, sm = 0;  // a row's sums fit: w * 2^15 < 2^32
        for (uint32_t i = 1; i < w; ++i) {
            const int32_t x = row[i], left = row[i - 1], top = above[i];
            const int32_t grad = left + top - above[i - 1];
            sl += zigzagResidual(x, left, mask, half);
            sg += zigzagResidual(x, grad, mask, half);
            sm += zigzagResidual(x, median3(left, top, grad), mask, half);
        }
        sums[kLeft] += sl;
        sums[kGradient] += sg;
        sums[kMedian] += sm;
    }
    for (unsigned m = kLeft; m <= kMedian; ++m) sums[m] += common;
}

void residuals(const uint16_t* s, uint32_t w, uint32_t rows, unsigned n, uint32_t method, uint16_t* z) {
    for (uint32_t r = 0; r < rows; ++r) {
        const uint16_t* row = s + static_cast<size_t>(r) * w;
        uint16_t* zr = z + static_cast<size_t>(r) * w;
        if (r == 0 || method == kLeft)
            residualRow<kLeft>(row, r == 0 ? nullptr : row - w, w, n, zr);
        else if (method == kGradient)
            residualRow<kGradient>(row, row - w, w, n, zr);
        else
            residualRow<kMedian>(row, row - w, w, n, zr);
    }
}

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
