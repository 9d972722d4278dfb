#include "ZqObject.h"

const ZqRTTI ZqObject::m_RTTI("ZqObject", nullptr);

bool ZqObject::IsKindOf(const ZqRTTI* rtti, const ZqObject* object) {
    return object && object->GetRTTI()->IsKindOf(rtti);
}
