#include "ZqRTTI.h"

bool ZqRTTI::IsKindOf(const ZqRTTI* other) const {
    for (const ZqRTTI* record = this; record; record = record->m_pkBaseRTTI) {
        if (record == other) {
            return true;
        }
    }
    return false;
}
