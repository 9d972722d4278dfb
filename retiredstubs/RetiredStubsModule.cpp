// The RetiredStubs module: placeholders under the names of withdrawn plug-ins,
// so that old scripts naming them still run.
#include "DeprecatedProcessPlugin.h"
#include "DeprecatedViewerPlugin.h"
#include "ZqExportPlugin.h"
#include "ZqImportPlugin.h"
#include "ZqPluginModule.h"

ZQ_DECLARE_MODULE(WITHOUT_COMPILER_VERSION);

// Built at load in this order. No export or import placeholder is registered;
// their records are built all the same, so that the module describes every
// withdrawn kind.
[[maybe_unused]] static const ZqRTTI g_deprecatedExportRTTI("DeprecatedExportPlugin",
                                                            &ZqExportPlugin::m_RTTI);
[[maybe_unused]] static const ZqRTTI g_deprecatedImportRTTI("DeprecatedImportPlugin",
                                                            &ZqImportPlugin::m_RTTI);
const ZqRTTI DeprecatedProcessPlugin::m_RTTI("DeprecatedProcessPlugin", &ZqPlugin::m_RTTI);
const ZqRTTI DeprecatedViewerPlugin::m_RTTI("DeprecatedViewerPlugin", &ZqViewerPlugin::m_RTTI);

void ZqModuleAddPlugins(ZqPluginArray& plugins) {
    ZqAppendNewPlugin(plugins, new DeprecatedProcessPlugin("Texture Swizzle"));
    ZqAppendNewPlugin(plugins, new DeprecatedViewerPlugin("PS2 Viewer"));
    ZqAppendNewPlugin(plugins, new DeprecatedViewerPlugin("Xbox Viewer"));
}
