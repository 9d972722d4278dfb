#pragma once

#include "ZqPointer.h"
#include "ZqSharedData.h"

#include <vector>

// The host's shared data, one process-wide list. The host fills it; plug-ins
// only borrow from it.
class ZQPLUGINTOOLKIT_API ZqSharedDataList {
public:
    static ZqSharedDataList* GetInstance();

    // The first entry whose class is `rtti`'s class or derives from it, or null.
    ZqSharedData* Get(const ZqRTTI* rtti) const;

    // Adds `data` (the list takes a reference), replacing any entry of the
    // same class.
    void Insert(ZqSharedData* data);
    void RemoveAll();

private:
    ZqSharedDataList() = default;
    std::vector<ZqPointer<ZqSharedData>> m_entries;
};
