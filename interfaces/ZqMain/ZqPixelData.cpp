#include "ZqPixelData.h"

#include "ZqPlatform.h"

#include <cstdint>

const ZqRTTI ZqPixelData::m_RTTI("ZqPixelData", &ZqObject::m_RTTI);
const ZqRTTI ZqPalette::m_RTTI("ZqPalette", &ZqObject::m_RTTI);

namespace {
// a * b, or false when it does not fit.
bool Multiply(size_t a, size_t b, size_t& product) {
    if (a != 0 && b > SIZE_MAX / a) {
        return false;
    }
    product = a * b;
    return true;
}
} // namespace

ZqPixelData::ZqPixelData(unsigned width, unsigned height, const ZqPixelFormat& format,
                         unsigned mipmapLevels, unsigned faces)
    : m_kFormat(format), m_uiWidth(width), m_uiHeight(height),
      m_uiMipmapLevels(mipmapLevels ? mipmapLevels : 1), m_uiFaces(faces ? faces : 1) {
    size_t faceSize = 0;
    for (unsigned level = 0; level < m_uiMipmapLevels; ++level) {
        size_t pixels = 0;
        size_t levelSize = 0;
        if (!Multiply(GetWidth(level), GetHeight(level), pixels) ||
            !Multiply(pixels, GetPixelStride(), levelSize) || faceSize > SIZE_MAX - levelSize) {
            return;
        }
        faceSize += levelSize;
    }
    size_t total = 0;
    if (!Multiply(faceSize, m_uiFaces, total)) {
        return;
    }
    m_pucPixels = static_cast<unsigned char*>(ZqPlatform::AllocateLarge(total));
    if (m_pucPixels) {
        m_faceSize = faceSize;
        m_totalSize = total;
    }
}

ZqPixelData::~ZqPixelData() {
    ZqPlatform::FreeLarge(m_pucPixels, m_totalSize);
}

unsigned ZqPixelData::GetWidth(unsigned level) const {
    unsigned width = level < 32 ? m_uiWidth >> level : 0;
    return width ? width : (m_uiWidth ? 1 : 0);
}

unsigned ZqPixelData::GetHeight(unsigned level) const {
    unsigned height = level < 32 ? m_uiHeight >> level : 0;
    return height ? height : (m_uiHeight ? 1 : 0);
}

size_t ZqPixelData::GetSizeInBytes(unsigned level) const {
    if (!m_pucPixels || level >= m_uiMipmapLevels) {
        return 0;
    }
    return size_t(GetWidth(level)) * GetHeight(level) * GetPixelStride();
}

unsigned char* ZqPixelData::GetPixels(unsigned level, unsigned face) const {
    if (!m_pucPixels || level >= m_uiMipmapLevels || face >= m_uiFaces) {
        return nullptr;
    }
    size_t offset = face * m_faceSize;
    for (unsigned l = 0; l < level; ++l) {
        offset += GetSizeInBytes(l);
    }
    return m_pucPixels + offset;
}
