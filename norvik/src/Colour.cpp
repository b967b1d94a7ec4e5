#include "Colour.h"

namespace norvik {

Affine compose(const Affine& b, const Affine& a) {
    Affine r;
    for (int j = 0; j < 3; ++j) {
        r.off[j] = b.off[j];
        for (int i = 0; i < 3; ++i) {
            r.m[j][i] = 0;
            for (int t = 0; t < 3; ++t) r.m[j][i] += b.m[j][t] * a.m[t][i];
            r.off[j] += b.m[j][i] * a.off[i];
        }
    }
    return r;
}

namespace {

void coefficients(uint32_t space, double& kr, double& kb) {
    kr = space == 1 ? 0.299 : 0.2126;
    kb = space == 1 ? 0.114 : 0.0722;
}

// Y, U, V samples at n bits -> Ey in [0, 1], Epb and Epr in [-0.5, 0.5].
Affine yuvToNormalised(uint32_t range, unsigned bits) {
    Affine a;
    const double full = static_cast<double>((1u << bits) - 1u);
    if (range == 1) {
        const double q = static_cast<double>(1u << bits) / 256.0;
        a.m[0][0] = 1.0 / (219.0 * q);
        a.off[0] = -16.0 / 219.0;
        for (int c = 1; c < 3; ++c) {
            a.m[c][c] = 1.0 / (224.0 * q);
            a.off[c] = -128.0 / 224.0;
        }
    } else {
        const double mid = static_cast<double>(1u << (bits - 1));
        for (int c = 0; c < 3; ++c) a.m[c][c] = 1.0 / full;
        a.off[1] = a.off[2] = -mid / full;
    }
    return a;
}

Affine normalisedToYuv(uint32_t range, unsigned bits) {
    Affine a;
    const double full = static_cast<double>((1u << bits) - 1u);
    if (range == 1) {
        const double q = static_cast<double>(1u << bits) / 256.0;
        a.m[0][0] = 219.0 * q;
        a.off[0] = 16.0 * q;
        for (int c = 1; c < 3; ++c) {
            a.m[c][c] = 224.0 * q;
            a.off[c] = 128.0 * q;
        }
    } else {
        for (int c = 0; c < 3; ++c) a.m[c][c] = full;
        a.off[1] = a.off[2] = static_cast<double>(1u << (bits - 1));
    }
    return a;
}

// Normalised (Ey, Epb, Epr) -> R, G, B at n bits.
Affine normalisedToRgb(uint32_t space, unsigned bits) {
    double kr, kb;
    coefficients(space, kr, kb);
    const double kg = 1.0 - kr - kb;
    const double full = static_cast<double>((1u << bits) - 1u);
    Affine a;
    const double rows[3][3] = {
        {1.0, 0.0, 2.0 * (1.0 - kr)},
        {1.0, -2.0 * kb * (1.0 - kb) / kg, -2.0 * kr * (1.0 - kr) / kg},
        {1.0, 2.0 * (1.0 - kb), 0.0},
    };
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) a.m[j][i] = rows[j][i] * full;
    return a;
}

// R, G, B at n bits -> normalised (Ey, Epb, Epr).
Affine rgbToNormalised(uint32_t space, unsigned bits) {
    double kr, kb;
    coefficients(space, kr, kb);
    const double kg = 1.0 - kr - kb;
    const double full = static_cast<double>((1u << bits) - 1u);
    Affine a;
    const double rows[3][3] = {
        {kr, kg, kb},
        {-kr / (2.0 * (1.0 - kb)), -kg / (2.0 * (1.0 - kb)), (1.0 - kb) / (2.0 * (1.0 - kb))},
        {(1.0 - kr) / (2.0 * (1.0 - kr)), -kg / (2.0 * (1.0 - kr)), -kb / (2.0 * (1.0 - kr))},
    };
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) a.m[j][i] = rows[j][i] / full;
    return a;
}

}  // namespace

Affine modelTransform(Model from, uint32_t fromSpace, uint32_t fromRange, Model to, uint32_t toSpace, uint32_t toRange,
                      unsigned bits) {
    const bool fromRgb = from == Model::Rgb;
    const bool toRgb = to == Model::Rgb;
    if (fromRgb && toRgb) return Affine();
    Affine toRgbMap;  // identity for RGB sources
    if (!fromRgb) toRgbMap = compose(normalisedToRgb(fromSpace, bits), yuvToNormalised(fromRange, bits));
    if (toRgb) return toRgbMap;
    const Affine fromRgbMap = compose(normalisedToYuv(toRange, bits), rgbToNormalised(toSpace, bits));
    return compose(fromRgbMap, toRgbMap);
}

}  // namespace norvik
