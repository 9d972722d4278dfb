#pragma once

// A synthetic outdoor panorama (equirectangular), generated row by row: a sky
// gradient with clouds and a sun up to about 3e4, hilly textured ground with
// paving, a row of lamps, and sensor noise that grows in the dark. Its
// run-length form has the packet statistics of real photographs, unlike a
// smooth test pattern.
#include <cmath>
#include <cstdint>

namespace panorama {

inline uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed) {
    uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return h;
}

inline float Unit(uint32_t h) {
    return float(h >> 8) * (1.0f / 16777216.0f);
}

inline float Smooth(float t) {
    return t * t * (3.0f - 2.0f * t);
}

// Value noise in 0..1, bilinear between hashed lattice points.
inline float Noise(float x, float y, uint32_t seed) {
    float fx = std::floor(x), fy = std::floor(y);
    uint32_t ix = uint32_t(int32_t(fx)), iy = uint32_t(int32_t(fy));
    float tx = Smooth(x - fx), ty = Smooth(y - fy);
    float a = Unit(Hash(ix, iy, seed)), b = Unit(Hash(ix + 1, iy, seed));
    float c = Unit(Hash(ix, iy + 1, seed)), d = Unit(Hash(ix + 1, iy + 1, seed));
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

// Fractal sum of `octaves` noise layers, 0..1.
inline float Fractal(float x, float y, int octaves, uint32_t seed) {
    float sum = 0, amplitude = 0.5f, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * Noise(x, y, seed + uint32_t(i));
        total += amplitude;
        x *= 2.03f;
        y *= 2.03f;
        amplitude *= 0.5f;
    }
    return sum / total;
}

// A roughly normal deviate from one hash (sum of four uniforms).
inline float Gauss(uint32_t h) {
    float sum = float(h & 0xFF) + float((h >> 8) & 0xFF) + float((h >> 16) & 0xFF) + float(h >> 24);
    return (sum - 510.0f) / 147.8f;
}

inline float Mix(float a, float b, float t) {
    return a + (b - a) * t;
}

inline float Step(float edge0, float edge1, float x) {
    float t = (x - edge0) / (edge1 - edge0);
    return Smooth(t < 0 ? 0 : (t > 1 ? 1 : t));
}

// Below this, the nadir where the camera stood, retouched: smooth, no noise.
const float kNadir = 0.94f;

struct Color {
    float r, g, b;
};

// The light seen at (u, v), both 0..1, v = 0 at the zenith; no noise yet.
inline Color Scene(float u, float v, float aspect) {
    const float sunU = 0.3f, sunV = 0.3f;
    float du = (u - sunU) * aspect, dv = v - sunV;
    float sunDistance = std::sqrt(du * du + dv * dv);
    float horizon = 0.52f - 0.05f * Fractal(u * 9.0f, 0.5f, 4, 11);
    Color c;
    if (v < horizon) {
        float height = (horizon - v) / horizon; // 1 at the zenith
        float t = std::sqrt(height);
        c = {Mix(2.4f, 0.25f, t), Mix(2.6f, 0.5f, t), Mix(3.0f, 1.4f, t)};
        float cloud = Fractal(u * 14.0f, v * 30.0f, 6, 21);
        float cover = Step(0.45f, 0.62f, cloud) * (0.3f + 0.7f * Step(0.05f, 0.6f, 1.0f - height));
        float lit = (2.5f + 5.0f * Fractal(u * 40.0f, v * 80.0f, 3, 31)) *
                        (0.8f + 0.4f * Fractal(u * 700.0f, v * 1400.0f, 2, 71)) +
                    30.0f * std::exp(-sunDistance * 12.0f);
        c = {Mix(c.r, lit, cover), Mix(c.g, lit * 0.97f, cover), Mix(c.b, lit * 0.93f, cover)};
        float glow = 60.0f * std::exp(-sunDistance * 40.0f) + 5.0f * std::exp(-sunDistance * 6.0f);
        c = {c.r + glow, c.g + glow * 0.9f, c.b + glow * 0.7f};
        const float radius = 0.006f;
        if (sunDistance < radius) {
            float limb = 1.0f - 0.4f * (sunDistance / radius) * (sunDistance / radius);
            c = {3.0e4f * limb, 2.8e4f * limb, 2.5e4f * limb};
        }
        return c;
    }
    if (v > kNadir) {
        float t = (v - kNadir) / (1.0f - kNadir);
        return {Mix(0.5f, 0.3f, t), Mix(0.45f, 0.28f, t), Mix(0.38f, 0.25f, t)};
    }
    // Ground: a coarse pattern of grass and soil, fine texture, paving near
    // the viewer, haze towards the horizon.
    float depth = (v - horizon) / (1.0f - horizon); // 0 at the horizon
    float coarse = Fractal(u * 30.0f, v * 50.0f, 4, 41);
    float fine = Fractal(u * 900.0f, v * 900.0f, 3, 51);
    Color albedo = coarse > 0.5f ? Color{0.10f, 0.16f, 0.05f} : Color{0.22f, 0.17f, 0.11f};
    float texture = 0.5f + fine;
    float light = 2.2f * (0.6f + 0.4f * Fractal(u * 6.0f, v * 6.0f, 2, 61));
    if (depth > 0.55f) {
        float px = u * 400.0f, py = (depth - 0.55f) * 220.0f / (0.3f + depth);
        float gx = px - std::floor(px), gy = py - std::floor(py);
        bool joint = gx < 0.06f || gy < 0.08f;
        albedo = joint ? Color{0.05f, 0.05f, 0.05f} : Color{0.32f, 0.30f, 0.28f};
        texture = 0.8f + 0.4f * fine;
    }
    c = {albedo.r * texture * light, albedo.g * texture * light, albedo.b * texture * light};
    float haze = std::exp(-depth * 18.0f);
    c = {Mix(c.r, 2.2f, haze), Mix(c.g, 2.3f, haze), Mix(c.b, 2.6f, haze)};
    // Lamps along a path.
    for (int i = 0; i < 12; ++i) {
        float lu = (float(i) + 0.5f) / 12.0f, lv = horizon + 0.12f + 0.02f * float(i % 3);
        float lx = (u - lu) * aspect, ly = v - lv;
        float d = std::sqrt(lx * lx + ly * ly);
        float lamp = d < 0.0015f ? 900.0f + 150.0f * float(i) : 25.0f * std::exp(-d * 300.0f);
        c = {c.r + lamp, c.g + lamp * 0.8f, c.b + lamp * 0.55f};
    }
    return c;
}

// Row y of a width x height panorama, as red, green and blue floats.
inline void Row(unsigned y, unsigned width, unsigned height, float* rgb) {
    const float aspect = float(width) / float(height);
    const float v = (float(y) + 0.5f) / float(height);
    for (unsigned x = 0; x < width; ++x) {
        float u = (float(x) + 0.5f) / float(width);
        Color c = Scene(u, v, aspect);
        const float grain = v > kNadir ? 0.0f : 1.0f;
        // Shot noise: relative deviation falling with the signal, and a
        // floor of read noise.
        float* out = rgb + 3 * size_t(x);
        const float channels[3] = {c.r, c.g, c.b};
        for (unsigned k = 0; k < 3; ++k) {
            float value = channels[k];
            float sigma = 0.0065f / std::sqrt(value + 0.02f);
            float noisy = value * (1.0f + grain * sigma * Gauss(Hash(x, y, 100 + k))) +
                          grain * 0.0004f * Gauss(Hash(x, y, 200 + k));
            out[k] = noisy > 0 ? noisy : 0;
        }
    }
}

} // namespace panorama
