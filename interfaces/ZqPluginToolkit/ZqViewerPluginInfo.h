#pragma once

#include "ZqPluginInfo.h"
#include "ZqPluginToolkitRenderer.h"

// A viewer step: a plug-in info that also names a renderer.
class ZQPLUGINTOOLKIT_API ZqViewerPluginInfo : public ZqPluginInfo {
public:
    static const ZqRTTI m_RTTI;
    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }

    explicit ZqViewerPluginInfo(ZqPluginToolkitRenderer renderer);

    ZqPluginInfo* Clone() const override;
    bool Equals(const ZqPluginInfo* other) const override;

    ZqPluginToolkitRenderer GetRenderer() const { return m_eRenderer; }

private:
    ZqPluginToolkitRenderer m_eRenderer;
};
