#pragma once

#include "DeprecatedPlugin.h"

// Stands in for a withdrawn process plug-in: its steps run and change nothing.
class DeprecatedProcessPlugin : public DeprecatedPlugin<ZqPlugin> {
public:
    static const ZqRTTI m_RTTI;
    using DeprecatedPlugin<ZqPlugin>::DeprecatedPlugin;

    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }
    bool CanExecute(ZqPluginInfo* info) override { return HasThisNameInAnyCase(info); }
    ZqPointer<ZqExecutionResult> Execute(const ZqPluginInfo*) override { return DoNothing(); }
};
