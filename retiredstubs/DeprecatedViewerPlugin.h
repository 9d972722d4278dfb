#pragma once

#include "DeprecatedPlugin.h"
#include "ZqViewerPlugin.h"

// Stands in for a withdrawn viewer plug-in: its steps run and show nothing.
// It supports no renderer, which the toolkit does not hold against it.
class DeprecatedViewerPlugin : public DeprecatedPlugin<ZqViewerPlugin> {
public:
    static const ZqRTTI m_RTTI;
    using DeprecatedPlugin<ZqViewerPlugin>::DeprecatedPlugin;

    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }
    bool CanView(ZqViewerPluginInfo* info) override { return HasThisNameInAnyCase(info); }
    ZqPointer<ZqExecutionResult> View(const ZqViewerPluginInfo*) override { return DoNothing(); }
    bool SupportsRenderer(ZqPluginToolkitRenderer) override { return false; }
};
