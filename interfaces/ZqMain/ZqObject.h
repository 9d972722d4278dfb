#pragma once

#include "ZqRTTI.h"
#include "ZqRefObject.h"

// The engine's root of reference-counted objects with a type record.
class ZQMAIN_API ZqObject : public ZqRefObject {
public:
    static const ZqRTTI m_RTTI;
    virtual const ZqRTTI* GetRTTI() const { return &m_RTTI; }

    // True when `object`'s class is `rtti`'s class or derives from it.
    static bool IsKindOf(const ZqRTTI* rtti, const ZqObject* object);
};
