// Type records of the texture kinds that have no body of their own.
#include "ZqRenderedTexture.h"
#include "ZqSourceCubeMap.h"

const ZqRTTI ZqRenderedTexture::m_RTTI("ZqRenderedTexture", &ZqTexture::m_RTTI);
const ZqRTTI ZqSourceCubeMap::m_RTTI("ZqSourceCubeMap", &ZqSourceTexture::m_RTTI);
