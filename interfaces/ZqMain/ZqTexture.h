#pragma once

#include "ZqObject.h"

// A texture. Every live texture is on one engine-wide list, in the order the
// textures were made; a texture leaves it when destroyed.
class ZQMAIN_API ZqTexture : public ZqObject {
public:
    static const ZqRTTI m_RTTI;
    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }

    ZqTexture();
    ~ZqTexture() override;

    virtual unsigned GetWidth() const = 0;
    virtual unsigned GetHeight() const = 0;

    static ZqTexture* GetListHead();
    ZqTexture* GetListNext() const { return m_pkNext; }

private:
    ZqTexture* m_pkPrevious = nullptr;
    ZqTexture* m_pkNext = nullptr;
};
