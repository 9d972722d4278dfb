#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>

// The image sizes the reader takes on, shared with the tools so that they
// refuse the same images before asking for any memory: each side at most
// 2^31 - 1 and, for an image that has rows, a row's bytes within the signed
// 32-bit row step and the whole image addressable.
inline bool HdrImageSizeIsSupported(unsigned width, unsigned height, unsigned bytesPerPixel) {
    if (width > INT_MAX || height > INT_MAX) {
        return false;
    }
    if (width == 0 || height == 0) {
        return true; // no pixels, so no row is ever stepped over
    }
    if (bytesPerPixel > INT_MAX / width) {
        return false;
    }
    return size_t(width) * bytesPerPixel <= SIZE_MAX / height;
}
