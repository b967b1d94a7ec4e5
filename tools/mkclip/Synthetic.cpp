// Synthetic pictures and audio of the clip maker.
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "ClipMaker.h"

namespace clipmaker {

PlaneLayout planeLayout(uint32_t type) {
    switch (type) {
        case 101: return {3, 8, 1, 1, true};
        case 102: return {4, 8, 1, 1, true};
        case 103: return {3, 8, 1, 1, false};
        case 104: return {3, 8, 2, 1, false};
        case 105: return {3, 8, 2, 2, false};
        case 106: return {4, 8, 1, 1, false};
        case 107: return {1, 8, 1, 1, false};
        case 108: return {3, 10, 2, 1, false};
        case 109: return {3, 10, 1, 1, true};
        case 110: return {4, 10, 1, 1, true};
        case 111: return {3, 12, 1, 1, true};
        case 112: return {4, 12, 1, 1, true};
        case 113: return {3, 14, 1, 1, true};
        case 114: return {4, 14, 1, 1, true};
        case 115: return {1, 10, 1, 1, false};
        case 118: return {3, 10, 1, 1, false};
        case 123: return {3, 10, 2, 2, false};
        default: throw std::invalid_argument("not a Norvik compressed type: " + std::to_string(type));
    }
}

uint32_t Frame::planeWidth(int p) const {
    return (p == 1 || p == 2) && !layout.rgb ? (width + layout.chromaX - 1) / layout.chromaX : width;
}
uint32_t Frame::planeHeight(int p) const {
    return (p == 1 || p == 2) && !layout.rgb ? (height + layout.chromaY - 1) / layout.chromaY : height;
}

namespace {

// Small hash noise in [-1, 1].
inline double noise(uint32_t x, uint32_t y, uint32_t t, int p) {
    uint32_t h = x * 374761393u + y * 668265263u + t * 2246822519u + static_cast<uint32_t>(p) * 3266489917u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<double>((h ^ (h >> 16)) & 0xFFFF) / 32767.5 - 1.0;
}

// Value in [0, 1] of plane p at full-resolution position (x, y) of frame t.
double sample(int p, double x, double y, uint32_t w, uint32_t h, uint32_t t) {
    const double u = x / w, v = y / h;
    double value = 0.25 + 0.35 * u + 0.2 * v + 0.1 * p * (u - v);
    value += 0.04 * std::sin(x * 0.11 + p) * std::sin(y * 0.07);  // fine texture
    const double bx = (0.1 + 0.6 * std::fmod(t * 0.013, 1.0)) * w, by = 0.3 * h;
    if (x >= bx && x < bx + 0.2 * w && y >= by && y < by + 0.25 * h) value = 0.85 - 0.2 * p;  // moving box
    const double cx = w * (0.5 + 0.3 * std::cos(t * 0.05)), cy = h * (0.6 + 0.2 * std::sin(t * 0.05));
    const double r = 0.15 * std::min(w, h);
    if ((x - cx) * (x - cx) + (y - cy) * (y - cy) < r * r) value = 0.15 + 0.25 * p;  // moving disc
    return value;
}

}  // namespace

Frame syntheticFrame(uint32_t type, uint32_t width, uint32_t height, uint32_t index) {
    Frame f;
    f.width = width;
    f.height = height;
    f.layout = planeLayout(type);
    const double full = (1 << f.layout.bits) - 1;
    for (int p = 0; p < f.layout.planes; ++p) {
        const uint32_t pw = f.planeWidth(p), ph = f.planeHeight(p);
        const double sx = static_cast<double>(width) / pw, sy = static_cast<double>(height) / ph;
        auto& plane = f.planes[p];
        plane.resize(static_cast<size_t>(pw) * ph);
        for (uint32_t y = 0; y < ph; ++y)
            for (uint32_t x = 0; x < pw; ++x) {
                double v = p == 3 ? 0.5 + 0.5 * x / pw : sample(p, x * sx, y * sy, width, height, index);
                v = v * full + noise(x, y, index, p) * full / 256.0;
                plane[static_cast<size_t>(y) * pw + x] =
                    static_cast<uint16_t>(std::clamp(std::lround(v), 0l, static_cast<long>(full)));
            }
    }
    return f;
}

double audioSample(const AudioSpec& plan, uint32_t stream, uint32_t channel, uint64_t sampleFrame) {
    const double hz = 110.0 * (channel + 1) * (stream + 1);
    const double phase = std::fmod(static_cast<double>(sampleFrame) * hz / plan.sampleRate, 1.0);
    return 0.5 * std::sin(2.0 * 3.14159265358979323846 * phase);
}

}  // namespace clipmaker
