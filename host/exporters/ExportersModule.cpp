// The host's stand-in export plug-ins, one module.
#include "ZqControllerExtractorPlugin.h"
#include "ZqPluginModule.h"
#include "ZqfExportPlugin.h"

ZQ_DECLARE_MODULE(WITH_COMPILER_VERSION);

const ZqRTTI ZqControllerExtractorPlugin::m_RTTI("ZqControllerExtractorPlugin",
                                                 &ZqExportPlugin::m_RTTI);
const ZqRTTI ZqfExportPlugin::m_RTTI("ZqfExportPlugin", &ZqExportPlugin::m_RTTI);

void ZqModuleAddPlugins(ZqPluginArray& plugins) {
    ZqAppendNewPlugin(plugins, new ZqControllerExtractorPlugin);
    ZqAppendNewPlugin(plugins, new ZqfExportPlugin);
}
