#pragma once

#include <cstddef>
#include <cstdint>

// The preview's tone curve: a half-float value v becomes the sRGB byte of
// x / (1 + x), x = v * 2^exposure; infinity is white, NaN and negatives black.
// One table over every half's bits, so a pixel costs three lookups and the
// result is that of the exact curve.
class ToneMap {
public:
    explicit ToneMap(double exposure);

    // `count` pixels of 16-bit float RGBA to 8-bit RGB.
    void Row(const unsigned char* halves, size_t count, unsigned char* rgb) const;

private:
    unsigned char m_byte[65536];
};
