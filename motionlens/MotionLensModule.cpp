// The MotionLens module: the KFM viewer plug-in.
#include "MotionLensPlugin.h"
#include "ZqPluginModule.h"

const ZqRTTI MotionLensPlugin::m_RTTI("MotionLensPlugin", &ZqViewerPlugin::m_RTTI);

void ZqModuleAddPlugins(ZqPluginArray& plugins) {
    ZqAppendNewPlugin(plugins, new MotionLensPlugin);
}
