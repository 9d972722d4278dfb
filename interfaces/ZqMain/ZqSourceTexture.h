#pragma once

#include "ZqPixelData.h"
#include "ZqTexture.h"

#include <string>

// A texture made from an image: a file name (or none) and, when the image is
// held in memory, its pixels.
class ZQMAIN_API ZqSourceTexture : public ZqTexture {
public:
    static const ZqRTTI m_RTTI;
    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }

    // `filename` may be null; `pixels` may be null (not held in memory).
    ZqSourceTexture(const char* filename, ZqPixelData* pixels, unsigned width, unsigned height);
    ~ZqSourceTexture() override;

    unsigned GetWidth() const override { return m_uiWidth; }
    unsigned GetHeight() const override { return m_uiHeight; }
    const char* GetFilename() const { return m_bHasFilename ? m_filename.c_str() : nullptr; }
    ZqPixelData* GetSourcePixelData() const { return m_spPixels; }

private:
    std::string m_filename;
    bool m_bHasFilename;
    ZqPointer<ZqPixelData> m_spPixels;
    unsigned m_uiWidth;
    unsigned m_uiHeight;
};
