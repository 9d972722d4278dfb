#pragma once

#include "ZqSourceTexture.h"

// A source texture of six faces; a source texture in every other respect.
class ZQMAIN_API ZqSourceCubeMap : public ZqSourceTexture {
public:
    static const ZqRTTI m_RTTI;
    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }
    using ZqSourceTexture::ZqSourceTexture;
};
