#include "ZqRTTI.h"

#include <vector>

namespace {

std::vector<const ZqRTTI*>& BuiltRecords() {
    static std::vector<const ZqRTTI*> records;
    return records;
}

} // namespace

ZqRTTI::ZqRTTI(const char* name, const ZqRTTI* base) : m_pcName(name), m_pkBaseRTTI(base) {
    BuiltRecords().push_back(this);
}

bool ZqRTTI::IsKindOf(const ZqRTTI* other) const {
    for (const ZqRTTI* record = this; record; record = record->m_pkBaseRTTI) {
        if (record == other) {
            return true;
        }
    }
    return false;
}

unsigned ZqRTTI::GetBuiltCount() {
    return static_cast<unsigned>(BuiltRecords().size());
}

const ZqRTTI* ZqRTTI::GetBuilt(unsigned index) {
    return index < BuiltRecords().size() ? BuiltRecords()[index] : nullptr;
}
