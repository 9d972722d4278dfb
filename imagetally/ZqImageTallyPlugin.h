#pragma once

#include "ZqProcessPlugin.h"

// Shows a report of every live texture and the total texture memory known.
class ZqImageTallyPlugin : public ZqProcessPlugin {
public:
    static const ZqRTTI m_RTTI;

    ZqImageTallyPlugin();

    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }
    // Builds the report into the module's report text and shows it; fails,
    // silently and leaving the last report, without a scene.
    ZqPointer<ZqExecutionResult> Execute(const ZqPluginInfo* info) override;
};

// The module's report text: the last report any instance built.
ZqString& ImageTallyReportText();
