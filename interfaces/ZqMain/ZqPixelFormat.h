#pragma once

#include "ZqApi.h"

// Describes a pixel layout: the format number, the bits per pixel and the
// channel mask of each component. Copied by value.
class ZQMAIN_API ZqPixelFormat {
public:
    enum Format {
        RGB = 0,
        RGBA = 1,
        PAL = 2,
        PALALPHA = 3,
        DXT1 = 4,
        DXT3 = 5,
        DXT5 = 6,
        RGB24NONINTERLEAVED = 7,
        BUMP = 8,
        BUMPLUMA = 9,
        RGBA_HALF = 10, // four 16-bit floats
    };
    enum Component { COMP_RED = 0, COMP_GREEN = 1, COMP_BLUE = 2, COMP_ALPHA = 3 };

    // Four 16-bit floating-point channels, red, green, blue, alpha: 8 bytes a pixel.
    static const ZqPixelFormat RGBA64;

    ZqPixelFormat() = default;
    ZqPixelFormat(int format, unsigned char bitsPerPixel, unsigned redMask, unsigned greenMask,
                  unsigned blueMask, unsigned alphaMask)
        : m_iFormat(format),
          m_ucBitsPerPixel(bitsPerPixel), m_auiMasks{redMask, greenMask, blueMask, alphaMask} {}

    Format GetFormat() const { return static_cast<Format>(m_iFormat); }
    unsigned char GetBitsPerPixel() const { return m_ucBitsPerPixel; }
    // The mask of component 0 to 3; 0 for any other number.
    unsigned GetMask(int component) const {
        return component >= 0 && component < 4 ? m_auiMasks[component] : 0;
    }

    bool operator==(const ZqPixelFormat& other) const;
    bool operator!=(const ZqPixelFormat& other) const { return !(*this == other); }

private:
    int m_iFormat = RGBA;
    unsigned char m_ucBitsPerPixel = 32;
    unsigned m_auiMasks[4] = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
};
