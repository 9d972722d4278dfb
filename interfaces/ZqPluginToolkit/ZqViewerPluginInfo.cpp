#include "ZqViewerPluginInfo.h"

const ZqRTTI ZqViewerPluginInfo::m_RTTI("ZqViewerPluginInfo", &ZqPluginInfo::m_RTTI);

ZqViewerPluginInfo::ZqViewerPluginInfo(ZqPluginToolkitRenderer renderer) : m_eRenderer(renderer) {}

ZqPluginInfo* ZqViewerPluginInfo::Clone() const {
    ZqViewerPluginInfo* copy = new ZqViewerPluginInfo(m_eRenderer);
    CopyInto(*copy);
    return copy;
}

bool ZqViewerPluginInfo::Equals(const ZqPluginInfo* other) const {
    return ZqPluginInfo::Equals(other) &&
           static_cast<const ZqViewerPluginInfo*>(other)->m_eRenderer == m_eRenderer;
}
