#include "ZqSourceTexture.h"

const ZqRTTI ZqSourceTexture::m_RTTI("ZqSourceTexture", &ZqTexture::m_RTTI);

ZqSourceTexture::ZqSourceTexture(const char* filename, ZqPixelData* pixels, unsigned width,
                                 unsigned height)
    : m_filename(filename ? filename : ""), m_bHasFilename(filename != nullptr), m_spPixels(pixels),
      m_uiWidth(width), m_uiHeight(height) {}

ZqSourceTexture::~ZqSourceTexture() = default;
