#pragma once

#include "ZqApi.h"

// A run-time type record: a class name and the record of its base class.
class ZQMAIN_API ZqRTTI {
public:
    constexpr ZqRTTI(const char* name, const ZqRTTI* base) : m_pcName(name), m_pkBaseRTTI(base) {}

    const char* GetName() const { return m_pcName; }
    const ZqRTTI* GetBaseRTTI() const { return m_pkBaseRTTI; }

    // True when this record is `other` or derives from it.
    bool IsKindOf(const ZqRTTI* other) const;

private:
    const char* m_pcName;
    const ZqRTTI* m_pkBaseRTTI;
};
