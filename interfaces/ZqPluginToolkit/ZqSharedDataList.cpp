#include "ZqSharedDataList.h"

#include <algorithm>

ZqSharedDataList* ZqSharedDataList::GetInstance() {
    static ZqSharedDataList instance;
    return &instance;
}

ZqSharedData* ZqSharedDataList::Get(const ZqRTTI* rtti) const {
    for (const auto& entry : m_entries) {
        if (entry->GetRTTI()->IsKindOf(rtti)) {
            return entry;
        }
    }
    return nullptr;
}

void ZqSharedDataList::Insert(ZqSharedData* data) {
    if (!data) {
        return;
    }
    ZqPointer<ZqSharedData> keep(data);
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [&](const ZqPointer<ZqSharedData>& entry) {
                                       return entry->GetRTTI() == data->GetRTTI();
                                   }),
                    m_entries.end());
    m_entries.push_back(keep);
}

void ZqSharedDataList::RemoveAll() {
    m_entries.clear();
}
