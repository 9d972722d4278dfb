#pragma once

#include "ZqPixelData.h"

#include <cstddef>

// Pixel data known by its description only: format, palette, mipmap levels
// and total size, without the memory itself, so that a scene can describe
// textures of any size. For the host's scene files, tests and benchmarks.
class ZqDescribedPixelData : public ZqPixelData {
public:
    ZqDescribedPixelData(const ZqPixelFormat& format, unsigned mipmaps, size_t bytes)
        : ZqPixelData(0, 0, format, mipmaps, 1), m_bytes(bytes) {}
    size_t GetTotalSizeInBytes() const override { return m_bytes; }

private:
    size_t m_bytes;
};
