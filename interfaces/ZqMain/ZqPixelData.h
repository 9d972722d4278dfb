#pragma once

#include "ZqObject.h"
#include "ZqPalette.h"
#include "ZqPixelFormat.h"
#include "ZqPointer.h"

#include <cstddef>

// A pixel buffer of one or more faces, each a chain of mipmap levels (each
// level half the size of the one before, at least 1 x 1). It owns its pixel
// memory, zero-filled at first. When that memory cannot be had the object has
// no pixels: GetPixels gives null and the size is 0.
class ZQMAIN_API ZqPixelData : public ZqObject {
public:
    static const ZqRTTI m_RTTI;
    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }

    ZqPixelData(unsigned width, unsigned height, const ZqPixelFormat& format,
                unsigned mipmapLevels = 1, unsigned faces = 1);
    ~ZqPixelData() override;

    const ZqPixelFormat& GetPixelFormat() const { return m_kFormat; }
    ZqPalette* GetPalette() const { return m_spPalette; }
    void SetPalette(ZqPalette* palette) { m_spPalette = palette; }

    unsigned GetNumMipmapLevels() const { return m_uiMipmapLevels; }
    unsigned GetNumFaces() const { return m_uiFaces; }
    // Bytes of all levels of all faces.
    virtual size_t GetTotalSizeInBytes() const { return m_pucPixels ? m_totalSize : 0; }

    unsigned GetWidth(unsigned level = 0) const;
    unsigned GetHeight(unsigned level = 0) const;
    // Bytes of one pixel.
    unsigned GetPixelStride() const { return m_kFormat.GetBitsPerPixel() / 8u; }
    size_t GetSizeInBytes(unsigned level = 0) const;
    // First byte of a level of a face, or null.
    unsigned char* GetPixels(unsigned level = 0, unsigned face = 0) const;

private:
    ZqPixelFormat m_kFormat;
    unsigned m_uiWidth;
    unsigned m_uiHeight;
    unsigned m_uiMipmapLevels;
    unsigned m_uiFaces;
    size_t m_faceSize = 0;
    size_t m_totalSize = 0;
    unsigned char* m_pucPixels = nullptr;
    ZqPointer<ZqPalette> m_spPalette;
};
