#pragma once
// A stand-in for a photo of a 3-D world, for measuring encoders on pixels like the real
// ones: a sky with soft clouds, a grass and path texture on a ground plane in perspective,
// fading into haze, and brick buildings whose two visible sides are lit differently. The
// textures carry the fine, unrepeating detail of a textured render; there are no smooth
// gradients alone (which any encoder shrinks to nothing) and no random noise (which none
// can).

#include <cmath>
#include <cstdint>

namespace bench {

struct Rgb {
    uint8_t r, g, b;
};

inline uint32_t Hash(int32_t x, int32_t y) {
    uint32_t h = static_cast<uint32_t>(x) * 0x8da6b343u ^ static_cast<uint32_t>(y) * 0xd8163841u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return h ^ (h >> 15);
}

// Smooth noise in [0, 1]: hashed lattice values, bilinearly blended.
inline double ValueNoise(double x, double y) {
    double fx = std::floor(x), fy = std::floor(y);
    int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    double tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto v = [](int a, int b) { return (Hash(a, b) & 0xFFFF) / 65535.0; };
    double top = v(ix, iy) + (v(ix + 1, iy) - v(ix, iy)) * tx;
    double bottom = v(ix, iy + 1) + (v(ix + 1, iy + 1) - v(ix, iy + 1)) * tx;
    return top + (bottom - top) * ty;
}

inline uint8_t Clamp(double v) {
    return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v + 0.5);
}

inline Rgb Mix(double r, double g, double b, Rgb haze, double f) {
    return {Clamp(r + (haze.r - r) * f), Clamp(g + (haze.g - g) * f), Clamp(b + (haze.b - b) * f)};
}

inline Rgb ScenePixel(int x, int y, int width, int height) {
    const double horizon = height * 0.42;
    const Rgb haze{196, 210, 226};

    // Buildings: boxes standing on the ground, a front face and a darker side face.
    struct Box {
        double left, right, side, top, base;
    };
    const Box boxes[] = {{0.08, 0.22, 0.05, 0.18, 0.66},
                         {0.55, 0.63, 0.03, 0.30, 0.52},
                         {0.72, 0.90, 0.06, 0.10, 0.78}};
    for (const Box& b : boxes) {
        double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
        if (v < b.top || v > b.base || u < b.left || u > b.right + b.side)
            continue;
        bool side = u > b.right;
        // Bricks of 24 by 10 pixels, each its own shade, mortar between them.
        double bx = side ? (u - b.right) * width * 0.6 : (u - b.left) * width;
        double by = (v - b.top) * height;
        int row = static_cast<int>(by / 10);
        double shifted = bx + (row % 2) * 12;
        bool mortar = std::fmod(by, 10) < 1.5 || std::fmod(shifted, 24) < 1.5;
        double shade = (Hash(static_cast<int>(shifted / 24), row) & 0xFF) / 255.0;
        double grain = ValueNoise(x * 0.7, y * 0.7);
        double light = side ? 0.62 : 1.0;
        if (mortar)
            return Mix(170 * light, 165 * light, 150 * light, haze, 0.1);
        return Mix((150 + 40 * shade + 20 * grain) * light, (70 + 20 * shade + 10 * grain) * light,
                   (50 + 15 * shade) * light, haze, 0.1);
    }

    if (y < horizon) {
        double t = y / horizon;
        double cloud = ValueNoise(x / 90.0, y / 40.0) * 0.6 + ValueNoise(x / 30.0, y / 15.0) * 0.4;
        cloud = cloud > 0.55 ? (cloud - 0.55) * 2.2 : 0;
        double r = 70 + 110 * t, g = 120 + 80 * t, b = 215 + 10 * t;
        return Mix(r, g, b, Rgb{250, 250, 252}, cloud > 1 ? 1 : cloud);
    }
    // The ground in perspective: distance grows toward the horizon.
    double depth = height * 0.5 / (y - horizon + 1);
    double gx = (x - width / 2.0) * depth / (width * 0.25), gz = depth * 4;
    double detail = ValueNoise(gx * 16, gz * 16);
    double patchy = ValueNoise(gx * 2, gz * 2);
    double pathX = std::fabs(std::fmod(gx + 1000.5, 6.0) - 3.0);
    double r, g, b;
    if (pathX < 0.4) {
        double stone = (Hash(static_cast<int>(gx * 4), static_cast<int>(gz * 4)) & 0x3F);
        r = 120 + stone, g = 112 + stone, b = 100 + stone;
    } else {
        r = 50 + 40 * patchy + 30 * detail, g = 100 + 50 * patchy + 40 * detail,
        b = 30 + 20 * detail;
    }
    double fog = depth / 60.0;
    return Mix(r, g, b, haze, fog > 1 ? 1 : fog);
}

} // namespace bench
