#pragma once

#include "ZqObject.h"

// The colour table of a palettised pixel format.
class ZQMAIN_API ZqPalette : public ZqObject {
public:
    static const ZqRTTI m_RTTI;
    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }

    explicit ZqPalette(unsigned entries = 256) : m_uiEntries(entries) {}
    unsigned GetNumEntries() const { return m_uiEntries; }

private:
    unsigned m_uiEntries;
};
