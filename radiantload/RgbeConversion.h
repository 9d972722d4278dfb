#pragma once

// RGBE pixels to 16-bit float RGBA. Every function gives the same bits as
// RgbePixelToHalf, pixel by pixel, on every path.

// channel = (mantissa + 0.5) * 2^(exponent - 136); black when the exponent
// is 0; alpha 1.
void RgbePixelToFloat(const unsigned char* rgbe, float* out);
void RgbePixelToHalf(const unsigned char* rgbe, unsigned char* out);

// The instruction sets the decoders have a path for, widest last.
enum class VectorPath { Scalar, Avx2, Avx512 };

// Whether this processor (and its system) runs `path`.
bool CanRun(VectorPath path);
// The widest path this processor runs.
VectorPath BestVectorPath();

// `count` interleaved RGBE pixels; pixel j goes to out + j * step, where step
// is 8 or -8. `path` must be one that CanRun.
void RgbeRowToHalf(VectorPath path, const unsigned char* rgbe, unsigned count, unsigned char* out,
                   int step);
