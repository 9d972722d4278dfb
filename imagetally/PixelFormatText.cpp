#include "PixelFormatText.h"

namespace {

const char* const kFormatNames[] = {"RGB",  "RGBA",    "PAL",  "PALALPHA",
                                    "DXT1", "DXT3",    "DXT5", "RGB24NONINTERLEAVED",
                                    "BUMP", "BUMPLUMA"};
const char kChannelLetters[] = {'R', 'G', 'B', 'A'};

int CountBits(unsigned mask) {
    int bits = 0;
    for (; mask; mask &= mask - 1) {
        ++bits;
    }
    return bits;
}

} // namespace

ZqString GetPixelFormatText(ZqPixelFormat format) {
    ZqString text(256);
    int number = format.GetFormat();
    if (static_cast<unsigned>(number) <= 9u) {
        text += kFormatNames[number];
    } else {
        text += "Unknown Format #";
        text += ZqString::FromInt(number);
    }
    text += " (Bits Per Pixel: ";
    text += ZqString::FromInt(format.GetBitsPerPixel());
    text += ")";
    return text;
}

ZqString GetPixelMaskText(ZqPixelFormat format) {
    // Insertion sort, smallest mask first; equal masks keep the order R, G, B, A.
    int order[4];
    int count = 0;
    for (int component = 0; component < 4; ++component) {
        unsigned mask = format.GetMask(component);
        int at = count;
        for (int i = 0; i < count; ++i) {
            if (format.GetMask(order[i]) > mask) {
                at = i;
                break;
            }
        }
        for (int i = count; i > at; --i) {
            order[i] = order[i - 1];
        }
        order[at] = component;
        ++count;
    }
    ZqString text(256);
    for (int i = 3; i >= 0; --i) {
        text += kChannelLetters[order[i]];
        text += ZqString::FromInt(CountBits(format.GetMask(order[i])));
    }
    return text;
}
