#include "ZqAVObject.h"

const ZqRTTI ZqAVObject::m_RTTI("ZqAVObject", &ZqObject::m_RTTI);

ZqAVObject::ZqAVObject(const char* name) : m_name(name ? name : "") {}
