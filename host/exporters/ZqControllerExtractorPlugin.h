#pragma once

#include "StandInExporter.h"

// Stand-in controller extractor: writes directory + file name + ".KFM" when
// its parameter "CreateKFM" is "TRUE". The file lists the parameters, in
// order, so that callers can see what arrived.
class ZqControllerExtractorPlugin : public StandInExporter {
public:
    static const ZqRTTI m_RTTI;
    ZqControllerExtractorPlugin();
    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }
    ZqPointer<ZqExecutionResult> Execute(const ZqPluginInfo* info) override;
};
