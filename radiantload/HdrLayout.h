#pragma once

#include <cstddef>

// How a Radiance file's pixels are laid out and where they land, shared with
// the tools so that they decode exactly as the reader does.

// The first four bytes of pixel data open run-length scanlines when they are
// 2, 2 and a byte below 128; anything else starts flat RGBE pixels.
inline bool OpensRunLength(const unsigned char* firstFour) {
    return firstFour[0] == 2 && firstFour[1] == 2 && firstFour[2] < 128;
}

// Where the file's scanlines land in a destination of `rows` rows of `width`
// pixels: the file's first pixel at `start` bytes in, then `rowStep` bytes
// between scanlines and `columnStep` between pixels, both negative where the
// file runs against the destination's top-to-bottom, left-to-right order.
// The sizes must pass HdrImageSizeIsSupported.
struct HdrPlacement {
    size_t start = 0;
    int rowStep = 0;
    int columnStep = 0;
};

inline HdrPlacement PlaceScanlines(unsigned width, unsigned rows, unsigned bytesPerPixel,
                                   bool columnsLeftToRight, bool rowsTopToBottom) {
    HdrPlacement placement;
    placement.columnStep = static_cast<int>(bytesPerPixel);
    if (width == 0 || rows == 0) {
        return placement; // nothing lands anywhere
    }
    const size_t rowBytes = size_t(width) * bytesPerPixel;
    placement.rowStep = static_cast<int>(rowBytes);
    if (!rowsTopToBottom) {
        placement.start += size_t(rows - 1) * rowBytes;
        placement.rowStep = -placement.rowStep;
    }
    if (!columnsLeftToRight) {
        placement.start += rowBytes - bytesPerPixel;
        placement.columnStep = -placement.columnStep;
    }
    return placement;
}

// The layout the vector kernels write: 8-byte pixels side by side, in either
// direction. Any other layout is converted pixel by pixel.
inline bool IsFastLayout(int columnStep, unsigned bytesPerPixel) {
    return bytesPerPixel == 8 && (columnStep == 8 || columnStep == -8);
}
