#pragma once

#include "ZqPlugin.h"

// A plug-in that reads a file into the scene.
class ZQPLUGINTOOLKIT_API ZqImportPlugin : public ZqPlugin {
public:
    static const ZqRTTI m_RTTI;
    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }
    using ZqPlugin::ZqPlugin;
};
