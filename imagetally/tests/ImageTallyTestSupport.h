#pragma once

#include "ZqPixelData.h"

#include <cstddef>

// Pixel data that answers any total size without holding that much memory.
class SizedPixelData : public ZqPixelData {
public:
    SizedPixelData(size_t bytes, const ZqPixelFormat& format, unsigned mipmaps = 1)
        : ZqPixelData(0, 0, format, mipmaps, 1), m_bytes(bytes) {}
    size_t GetTotalSizeInBytes() const override { return m_bytes; }

private:
    size_t m_bytes;
};
