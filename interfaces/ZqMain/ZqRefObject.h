#pragma once

#include "ZqApi.h"

// Reference-counted base: an object is destroyed when its count falls to zero.
// A new object starts at zero; the first ZqPointer to it takes the first
// reference.
class ZQMAIN_API ZqRefObject {
public:
    ZqRefObject();
    ZqRefObject(const ZqRefObject&) = delete;
    ZqRefObject& operator=(const ZqRefObject&) = delete;
    virtual ~ZqRefObject();

    void IncRefCount();
    void DecRefCount();
    unsigned GetRefCount() const { return m_uiRefCount; }

    // Objects alive in the whole process; lets tests see that nothing leaked.
    static unsigned GetTotalObjectCount();
    // Objects ever made in the process; lets tests see that none was made.
    static unsigned GetMadeObjectCount();

private:
    unsigned m_uiRefCount;
};
