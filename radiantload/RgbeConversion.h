#pragma once

// RGBE pixels to 16-bit float RGBA. Every function gives the same bits as
// RgbePixelToHalf, pixel by pixel.

// channel = (mantissa + 0.5) * 2^(exponent - 136); black when the exponent
// is 0; alpha 1.
void RgbePixelToFloat(const unsigned char* rgbe, float* out);
void RgbePixelToHalf(const unsigned char* rgbe, unsigned char* out);

// `count` interleaved RGBE pixels; pixel j goes to out + j * step, where step
// is 8 or -8.
void RgbeRowToHalf(const unsigned char* rgbe, unsigned count, unsigned char* out, int step);

// `count` pixels held as four planes of `planeSize` bytes each (red, green,
// blue and exponent bytes); pixel j goes to out + j * step, step 8 or -8.
void RgbePlanesToHalf(const unsigned char* planes, unsigned planeSize, unsigned count,
                      unsigned char* out, int step);
