#include "PixelFormatText.h"

#include <gtest/gtest.h>

TEST(PixelFormatText, NameAndBitsPerPixel) {
    struct Case {
        int format;
        unsigned char bits;
        const char* text;
    } cases[] = {
        {0, 24, "RGB (Bits Per Pixel: 24)"},
        {1, 32, "RGBA (Bits Per Pixel: 32)"},
        {2, 8, "PAL (Bits Per Pixel: 8)"},
        {3, 8, "PALALPHA (Bits Per Pixel: 8)"},
        {4, 4, "DXT1 (Bits Per Pixel: 4)"},
        {5, 8, "DXT3 (Bits Per Pixel: 8)"},
        {6, 8, "DXT5 (Bits Per Pixel: 8)"},
        {7, 24, "RGB24NONINTERLEAVED (Bits Per Pixel: 24)"},
        {8, 16, "BUMP (Bits Per Pixel: 16)"},
        {9, 24, "BUMPLUMA (Bits Per Pixel: 24)"},
        {12, 16, "Unknown Format #12 (Bits Per Pixel: 16)"},
        {-1, 16, "Unknown Format #-1 (Bits Per Pixel: 16)"},
        {10, 64, "Unknown Format #10 (Bits Per Pixel: 64)"},
        {1, 0, "RGBA (Bits Per Pixel: 0)"},
        {1, 255, "RGBA (Bits Per Pixel: 255)"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(GetPixelFormatText(ZqPixelFormat(c.format, c.bits, 0, 0, 0, 0)), c.text);
    }
}

TEST(PixelFormatText, ChannelsByMask) {
    struct Case {
        unsigned red, green, blue, alpha;
        const char* text;
    } cases[] = {
        {0xFF0000, 0xFF00, 0xFF, 0xFF000000, "A8R8G8B8"},
        {0xFF, 0xFF00, 0xFF0000, 0xFF000000, "A8B8G8R8"},
        {0xF800, 0x07E0, 0x001F, 0, "R5G6B5A0"},
        {0x3FF, 0xFFC00, 0x3FF00000, 0xC0000000, "A2B10G10R10"},
        {0, 0, 0, 0, "A0B0G0R0"},
        {0xFFFF, 0xFFFF, 0, 0, "G16R16A0B0"},
        {0xF0F, 0, 0, 0, "R8A0B0G0"},
        {0x80000000, 0x1, 0x2, 0x4, "R1A1B1G1"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(GetPixelMaskText(
                         ZqPixelFormat(ZqPixelFormat::RGBA, 32, c.red, c.green, c.blue, c.alpha)),
                     c.text);
    }
}
