#pragma once

// Writes Radiance RGBE images for the benchmarks: the common encoder's
// choices (runs of four or more become run packets, the rest literals).
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

struct Rgb {
    float r, g, b;
};

inline void ToRgbe(const Rgb& c, unsigned char* out) {
    float largest = std::fmax(c.r, std::fmax(c.g, c.b));
    if (largest < 1e-32f) {
        out[0] = out[1] = out[2] = out[3] = 0;
        return;
    }
    int exponent;
    float scale = std::frexp(largest, &exponent) * 256.0f / largest;
    out[0] = static_cast<unsigned char>(c.r * scale);
    out[1] = static_cast<unsigned char>(c.g * scale);
    out[2] = static_cast<unsigned char>(c.b * scale);
    out[3] = static_cast<unsigned char>(exponent + 128);
}

inline void EncodePlane(const unsigned char* values, unsigned count,
                        std::vector<unsigned char>& out) {
    unsigned i = 0;
    while (i < count) {
        unsigned run = 1;
        while (i + run < count && run < 127 && values[i + run] == values[i]) {
            ++run;
        }
        if (run >= 4) {
            out.push_back(static_cast<unsigned char>(128 + run));
            out.push_back(values[i]);
            i += run;
            continue;
        }
        unsigned start = i;
        unsigned length = 0;
        while (i < count && length < 128) {
            unsigned ahead = 1;
            while (i + ahead < count && ahead < 4 && values[i + ahead] == values[i]) {
                ++ahead;
            }
            if (ahead >= 4) {
                break;
            }
            ++i;
            ++length;
        }
        out.push_back(static_cast<unsigned char>(length));
        out.insert(out.end(), values + start, values + start + length);
    }
}

// Writes a width x height image whose pixel (x, y) is `color(x, y)`.
template <class Color>
bool WriteHdr(const std::string& path, unsigned width, unsigned height, bool runLength,
              Color color) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    std::fprintf(file, "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y %u +X %u\n", height, width);
    std::vector<unsigned char> row(size_t(width) * 4), planes(width), encoded;
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            ToRgbe(color(x, y), &row[4 * size_t(x)]);
        }
        if (!runLength) {
            std::fwrite(row.data(), 1, row.size(), file);
            continue;
        }
        encoded.assign({2, 2, static_cast<unsigned char>(width >> 8),
                        static_cast<unsigned char>(width & 0xFF)});
        for (unsigned k = 0; k < 4; ++k) {
            for (unsigned x = 0; x < width; ++x) {
                planes[x] = row[4 * size_t(x) + k];
            }
            EncodePlane(planes.data(), width, encoded);
        }
        std::fwrite(encoded.data(), 1, encoded.size(), file);
    }
    return std::fclose(file) == 0;
}

// Realistic content: smooth gradients, a noisy band, bright spots and flat
// areas, so that the run-length form mixes runs and literals.
inline Rgb RealisticPixel(unsigned x, unsigned y, unsigned width, unsigned height) {
    float u = float(x) / float(width), v = float(y) / float(height);
    Rgb c{0.2f + 0.8f * u, 0.1f + 0.6f * v, 0.5f * (1.0f - u) + 0.3f * v};
    unsigned hash = (x * 73856093u) ^ (y * 19349663u);
    hash ^= hash >> 13;
    hash *= 0x5bd1e995u;
    hash ^= hash >> 15;
    if (v > 0.3f && v < 0.6f) { // noise
        float n = float(hash & 0xFFFF) / 65535.0f;
        c.r *= 0.5f + n;
        c.g *= 0.5f + n * 0.5f;
    }
    if (u > 0.7f && v > 0.7f) { // flat wall: long runs
        c = Rgb{0.25f, 0.25f, 0.3f};
    }
    float dx = u - 0.25f, dy = v - 0.2f;
    if (dx * dx + dy * dy < 0.002f) { // a bright light
        c = Rgb{800.0f, 700.0f, 500.0f};
    }
    if ((hash & 0x3FF) == 0) { // sparkles
        c.r += 50.0f;
    }
    return c;
}
