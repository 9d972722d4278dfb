#pragma once

#include "ZqProcessPlugin.h"

// Removes every object the application has culled from each scene root.
class CullSweepPlugin : public ZqProcessPlugin {
public:
    static const ZqRTTI m_RTTI;

    CullSweepPlugin();

    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }
    ZqPointer<ZqExecutionResult> Execute(const ZqPluginInfo* info) override;
};
