// Synthetic pictures and audio of the clip maker.
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

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

// The picture of frame t, sample by sample: a gradient with fine texture, a moving
// box and a moving disc. The texture is separable, so its sines are taken once per
// column and once per row; every sample is computed with the same operations in
// the same order as a direct evaluation would, so the pictures do not depend on
// the tables.
class Scene {
public:
    Scene(uint32_t w, uint32_t h, uint32_t t) : m_w(w), m_h(h) {
        m_bx = (0.1 + 0.6 * std::fmod(t * 0.013, 1.0)) * w;
        m_by = 0.3 * h;
        m_cx = w * (0.5 + 0.3 * std::cos(t * 0.05));
        m_cy = h * (0.6 + 0.2 * std::sin(t * 0.05));
        m_r = 0.15 * std::min(w, h);
    }

    // Per-column terms of plane p, columns at x * scale.
    void columns(int p, uint32_t count, double scale) {
        m_x.resize(count), m_u.resize(count), m_sinX.resize(count);
        for (uint32_t i = 0; i < count; ++i) {
            m_x[i] = i * scale;
            m_u[i] = m_x[i] / m_w;
            m_sinX[i] = std::sin(m_x[i] * 0.11 + p);
        }
    }

    // Value in [0, 1] of plane p at column i and full-resolution row y.
    double value(int p, uint32_t i, double y, double v, double sinY) const {
        const double x = m_x[i], u = m_u[i];
        double value = 0.25 + 0.35 * u + 0.2 * v + 0.1 * p * (u - v);
        value += 0.04 * m_sinX[i] * sinY;
        if (x >= m_bx && x < m_bx + 0.2 * m_w && y >= m_by && y < m_by + 0.25 * m_h) value = 0.85 - 0.2 * p;
        if ((x - m_cx) * (x - m_cx) + (y - m_cy) * (y - m_cy) < m_r * m_r) value = 0.15 + 0.25 * p;
        return value;
    }

    uint32_t height() const { return m_h; }

private:
    uint32_t m_w, m_h;
    double m_bx, m_by, m_cx, m_cy, m_r;
    std::vector<double> m_x, m_u, m_sinX;
};

// std::clamp(std::lround(s), 0, full) without the library call: the truncation of
// a non-negative value and its remainder are exact.
inline uint16_t roundToSample(double s, long full) {
    if (!(s > 0)) return 0;
    const long t = static_cast<long>(s);
    return static_cast<uint16_t>(std::min(t + static_cast<long>(s - static_cast<double>(t) >= 0.5), full));
}

void fillPlane(Frame& f, int p, uint32_t index, Scene& scene) {
    const double full = (1 << f.layout.bits) - 1;
    const uint32_t pw = f.planeWidth(p), ph = f.planeHeight(p);
    const double sx = static_cast<double>(f.width) / pw, sy = static_cast<double>(f.height) / ph;
    auto& plane = f.planes[p];
    plane.resize(static_cast<size_t>(pw) * ph);
    scene.columns(p, pw, sx);
    for (uint32_t y = 0; y < ph; ++y) {
        const double fy = y * sy, v = fy / scene.height(), sinY = std::sin(fy * 0.07);
        uint16_t* row = plane.data() + static_cast<size_t>(y) * pw;
        for (uint32_t x = 0; x < pw; ++x) {
            double s = p == 3 ? 0.5 + 0.5 * x / pw : scene.value(p, x, fy, v, sinY);
            s = s * full + noise(x, y, index, p) * full / 256.0;
            row[x] = roundToSample(s, static_cast<long>(full));
        }
    }
}

}  // namespace

Frame syntheticFrame(uint32_t type, uint32_t width, uint32_t height, uint32_t index) {
    Frame f;
    f.width = width;
    f.height = height;
    f.layout = planeLayout(type);
    Scene scene(width, height, index);
    for (int p = 0; p < f.layout.planes; ++p) fillPlane(f, p, index, scene);
    return f;
}

namespace {

class SyntheticPictures : public PictureSource {
public:
    explicit SyntheticPictures(const ClipPlan& plan) {
        m_format.name = "synthetic";
        m_format.type = m_format.sourceType = plan.type;
        m_format.width = plan.width;
        m_format.height = plan.height;
    }
    const PictureFormat& format() const override { return m_format; }
    bool next(Picture& picture) override {
        const Frame f = syntheticFrame(m_format.type, m_format.width, m_format.height, m_index++);
        shapePicture(m_format, picture);
        for (int p = 0; p < f.layout.planes; ++p) {
            uint8_t* d = picture.plane(p);
            if (f.layout.bits == 8)
                std::copy(f.planes[p].begin(), f.planes[p].end(), d);
            else
                for (uint16_t v : f.planes[p]) *d++ = static_cast<uint8_t>(v), *d++ = static_cast<uint8_t>(v >> 8);
        }
        return true;
    }

private:
    PictureFormat m_format;
    uint32_t m_index = 0;
};

}  // namespace

std::unique_ptr<PictureSource> syntheticPictures(const ClipPlan& plan) {
    return std::make_unique<SyntheticPictures>(plan);
}

double audioSample(const AudioPlan& plan, uint32_t stream, uint32_t channel, uint64_t sampleFrame) {
    const double hz = 110.0 * (channel + 1) * (stream + 1);
    const double phase = std::fmod(static_cast<double>(sampleFrame) * hz / plan.sampleRate, 1.0);
    return 0.5 * std::sin(2.0 * 3.14159265358979323846 * phase);
}

}  // namespace clipmaker
