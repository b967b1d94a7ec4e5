#include "streams/FrameRate.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Euclid with signed remainders; the absolute result, or 1 when it is 0.
int64_t greatestCommonDivisor(int64_t a, int64_t b) {
    while (b != 0) {
        const int64_t r = a % b;
        a = b;
        b = r;
    }
    const int64_t g = std::llabs(a);
    return g == 0 ? 1 : g;
}

// Snaps x = n/d to an integer rate or to an NTSC rate (r * 1000 / 1001) when it is
// within 0.01 of one; otherwise keeps n/d.
void snap(int64_t& n, int64_t& d) {
    const double x = static_cast<double>(n) / static_cast<double>(d);
    const double r = std::round(x);
    if (std::fabs(r - x) < 0.01) {
        n = static_cast<int64_t>(r);
        d = 1;
    } else if (std::fabs(r * 1000.0 / 1001.0 - x) < 0.01) {
        n = static_cast<int64_t>(r) * 1000;
        d = 1001;
    }
}

}  // namespace

FrameRate computeFrameRate(int32_t dwRate, int32_t dwScale, int64_t numFrames) {
    FrameRate rate;
    int64_t n = dwRate;
    int64_t d = dwScale;
    if (n != 0 && d != 0) snap(n, d);
    // A zero rate or scale, or a rate below 0.01 frames per second (which snaps
    // to 0), cannot be used: nothing could divide by it. The clip runs at 30/1.
    if (n == 0 || d == 0) {
        rate.invalid = true;
        n = 30;
        d = 1;
    }
    const int64_t g = greatestCommonDivisor(n, d);
    n /= g;
    d /= g;

    const int64_t duration = d * numFrames;
    if (static_cast<uint64_t>(duration) > 0x7FFFFFFFull) {
        const double f = 2147483647.0 / static_cast<double>(static_cast<uint64_t>(duration));
        n = std::max<int64_t>(1, static_cast<int64_t>(std::trunc(static_cast<double>(n) * f)));
        d = std::max<int64_t>(1, static_cast<int64_t>(std::trunc(static_cast<double>(d) * f)));
        rate.durationAdjusted = true;
    }
    rate.numerator = static_cast<int32_t>(n);
    rate.denominator = static_cast<int32_t>(d);
    return rate;
}
