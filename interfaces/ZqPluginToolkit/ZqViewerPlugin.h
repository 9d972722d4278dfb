#pragma once

#include "ZqPlugin.h"
#include "ZqPluginToolkitRenderer.h"
#include "ZqViewerPluginInfo.h"

// A plug-in that shows the scene. The toolkit runs viewer steps through
// CanView and View; whether the renderer is supported is the viewer's own
// matter and is not consulted here.
class ZQPLUGINTOOLKIT_API ZqViewerPlugin : public ZqPlugin {
public:
    static const ZqRTTI m_RTTI;
    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }

    ZqViewerPlugin(const char* name, const char* version, const char* shortDescription,
                   const char* longDescription);
    ~ZqViewerPlugin() override;

    // Accepts exactly the viewer steps that CanView accepts.
    bool CanExecute(ZqPluginInfo* info) override;
    // Runs View and returns its result; a step that is no viewer step fails.
    ZqPointer<ZqExecutionResult> Execute(const ZqPluginInfo* info) override;

    virtual bool CanView(ZqViewerPluginInfo* info) = 0;
    virtual ZqPointer<ZqExecutionResult> View(const ZqViewerPluginInfo* info) = 0;
    virtual bool SupportsRenderer(ZqPluginToolkitRenderer renderer) = 0;
};
