#include "ZqViewerPlugin.h"

const ZqRTTI ZqViewerPlugin::m_RTTI("ZqViewerPlugin", &ZqPlugin::m_RTTI);

ZqViewerPlugin::ZqViewerPlugin(const char* name, const char* version, const char* shortDescription,
                               const char* longDescription)
    : ZqPlugin(name, version, shortDescription, longDescription) {}

ZqViewerPlugin::~ZqViewerPlugin() = default;

bool ZqViewerPlugin::CanExecute(ZqPluginInfo* info) {
    if (!info || !info->GetRTTI()->IsKindOf(&ZqViewerPluginInfo::m_RTTI)) {
        return false;
    }
    return CanView(static_cast<ZqViewerPluginInfo*>(info));
}

ZqPointer<ZqExecutionResult> ZqViewerPlugin::Execute(const ZqPluginInfo* info) {
    if (!info || !info->GetRTTI()->IsKindOf(&ZqViewerPluginInfo::m_RTTI)) {
        return new ZqExecutionResult(ZqExecutionResult::RETURN_FAILURE);
    }
    return View(static_cast<const ZqViewerPluginInfo*>(info));
}
