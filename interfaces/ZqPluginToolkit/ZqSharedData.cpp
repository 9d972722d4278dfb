#include "ZqSharedData.h"

const ZqRTTI ZqSharedData::m_RTTI("ZqSharedData", nullptr);

ZqSharedData::ZqSharedData() = default;
ZqSharedData::~ZqSharedData() = default;
