#pragma once

#include "ZqTexture.h"

// A texture the renderer draws into: no image file, no source pixels.
class ZQMAIN_API ZqRenderedTexture : public ZqTexture {
public:
    static const ZqRTTI m_RTTI;
    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }

    ZqRenderedTexture(unsigned width, unsigned height) : m_uiWidth(width), m_uiHeight(height) {}
    unsigned GetWidth() const override { return m_uiWidth; }
    unsigned GetHeight() const override { return m_uiHeight; }

private:
    unsigned m_uiWidth;
    unsigned m_uiHeight;
};
