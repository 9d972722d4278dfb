#pragma once

#include "ZqFramePlugin.h"
#include "ZqViewerPlugin.h"

// Views the scene as an animation: exports it to a temporary KFM file through
// a script of two export steps, then opens that file in the viewer that the
// registry names for KFM documents.
class MotionLensPlugin : public ZqFramePlugin<ZqViewerPlugin> {
public:
    static const ZqRTTI m_RTTI;

    MotionLensPlugin();
    ~MotionLensPlugin() override;

    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }
    ZqPluginInfo* MakeDefaultInfo() override;

    // Class name, then version, then a known viewer command (read again from
    // the registry while none is known).
    bool CanView(ZqViewerPluginInfo* info) override;
    ZqPointer<ZqExecutionResult> View(const ZqViewerPluginInfo* info) override;
    bool SupportsRenderer(ZqPluginToolkitRenderer renderer) override;

    // Fills the viewer command from the registry; a missing key or value
    // leaves it as it was.
    void ReadViewerCommand();
    // Deletes the file's stale side files and starts the viewer on it; true
    // when the viewer started.
    bool LaunchViewer(ZqString filePath);

private:
    // The command-line template, "%1" standing for the file; kept unchanged
    // once known.
    ZqString m_ViewerCommand;
};
