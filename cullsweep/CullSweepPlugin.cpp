#include "CullSweepPlugin.h"

#include "ZqMessageBox.h"
#include "ZqOptimize.h"
#include "ZqSceneGraphSharedData.h"

CullSweepPlugin::CullSweepPlugin()
    : ZqProcessPlugin("Remove Hidden Objects Plug-in", "1.0",
                      "A plug-in to remove all hidden objects",
                      "A plug-in to remove all hidden objects.") {}

ZqPointer<ZqExecutionResult> CullSweepPlugin::Execute(const ZqPluginInfo*) {
    auto* scene =
        static_cast<ZqSceneGraphSharedData*>(GetSharedData(&ZqSceneGraphSharedData::m_RTTI));
    if (!scene) {
        ZqMessageBox("The Remove Hidden Objects Process Plug-in could not find the "
                     "ZqSceneGraphSharedData!",
                     "Scene Graph Shared Data Missing", nullptr);
        return new ZqExecutionResult(ZqExecutionResult::RETURN_FAILURE);
    }
    // The root count is asked again before every step.
    for (unsigned index = 0; index < scene->GetRootCount(); ++index) {
        ZqOptimize::RemoveAppCulledObjects(scene->GetRootAt(index));
    }
    return new ZqExecutionResult(ZqExecutionResult::RETURN_SUCCESS);
}
