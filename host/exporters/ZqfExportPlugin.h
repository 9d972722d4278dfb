#pragma once

#include "StandInExporter.h"

// Stand-in scene-file exporter: writes the scene, as an indented list of
// object names, to directory + file name + extension. Fails without a scene.
class ZqfExportPlugin : public StandInExporter {
public:
    static const ZqRTTI m_RTTI;
    ZqfExportPlugin();
    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }
    ZqPointer<ZqExecutionResult> Execute(const ZqPluginInfo* info) override;
};
