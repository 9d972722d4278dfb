#include "ZqImageTallyPlugin.h"

#include "TextureReport.h"
#include "ZqInfoDialog.h"
#include "ZqSceneGraphSharedData.h"
#include "ZqSharedDataList.h"

ZqImageTallyPlugin::ZqImageTallyPlugin()
    : ZqProcessPlugin("Texture Analyzer", "1.0", "Displays Texture partitioning statistics",
                      "Searches the scene graph for Texturened objects, printing Texture partition "
                      "information.") {}

ZqPointer<ZqExecutionResult> ZqImageTallyPlugin::Execute(const ZqPluginInfo*) {
    if (!ZqSharedDataList::GetInstance()->Get(&ZqSceneGraphSharedData::m_RTTI)) {
        return new ZqExecutionResult(ZqExecutionResult::RETURN_FAILURE);
    }
    ZqString& report = ImageTallyReportText();
    BuildTextureReport(report);
    ZqInfoDialog dialog(ZqString("Texture Analysis Results:"));
    dialog.SetText(report, false);
    dialog.DoModal();
    return new ZqExecutionResult(ZqExecutionResult::RETURN_SUCCESS);
}
