#pragma once

#include "ZqApi.h"

// A run-time type record: a class name and the record of its base class.
// Records are built when their library loads, each by this constructor.
class ZQMAIN_API ZqRTTI {
public:
    ZqRTTI(const char* name, const ZqRTTI* base);

    const char* GetName() const { return m_pcName; }
    const ZqRTTI* GetBaseRTTI() const { return m_pkBaseRTTI; }

    // True when this record is `other` or derives from it.
    bool IsKindOf(const ZqRTTI* other) const;

    // Every record built so far and still loaded, in the order they were
    // built: what a library built at load, for tools and tests. A library
    // unloaded through ZqPlatform::UnloadModule takes its records off the
    // list. The list holds BUILT_CAPACITY records; those built beyond it
    // work but are not listed.
    enum : unsigned { BUILT_CAPACITY = 1024 };
    static unsigned GetBuiltCount();
    static const ZqRTTI* GetBuilt(unsigned index);

private:
    const char* m_pcName;
    const ZqRTTI* m_pkBaseRTTI;
};
