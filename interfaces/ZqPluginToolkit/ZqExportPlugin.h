#pragma once

#include "ZqPlugin.h"

// A plug-in that writes the scene to a file.
class ZQPLUGINTOOLKIT_API ZqExportPlugin : public ZqPlugin {
public:
    static const ZqRTTI m_RTTI;
    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }
    using ZqPlugin::ZqPlugin;
};
