#include "ToneMap.h"

#include <Imath/half.h>

#include <cmath>
#include <cstring>

namespace {

unsigned char ToSrgbByte(float linear) {
    if (std::isinf(linear) && linear > 0) {
        return 255;
    }
    float mapped = linear > 0.0f ? linear / (1.0f + linear) : 0.0f; // NaN lands here too
    float encoded =
        mapped <= 0.0031308f ? 12.92f * mapped : 1.055f * std::pow(mapped, 1.0f / 2.4f) - 0.055f;
    return static_cast<unsigned char>(std::lround(encoded * 255.0f));
}

} // namespace

ToneMap::ToneMap(double exposure) {
    const float scale = static_cast<float>(std::exp2(exposure));
    for (unsigned bits = 0; bits < 65536; ++bits) {
        Imath::half value;
        value.setBits(static_cast<unsigned short>(bits));
        // Overflowed values are white at any exposure, even one whose scale
        // underflows to zero (infinity times zero would be NaN, shown black).
        m_byte[bits] = value.isInfinity() && !value.isNegative()
                           ? 255
                           : ToSrgbByte(static_cast<float>(value) * scale);
    }
}

void ToneMap::Row(const unsigned char* halves, size_t count, unsigned char* rgb) const {
    for (size_t i = 0; i < count; ++i, halves += 8, rgb += 3) {
        uint16_t channels[4];
        std::memcpy(channels, halves, sizeof channels);
        rgb[0] = m_byte[channels[0]];
        rgb[1] = m_byte[channels[1]];
        rgb[2] = m_byte[channels[2]];
    }
}
