// The MotionLens module: the KFM viewer plug-in.
#include "MotionLensPlugin.h"
#include "ZqPluginModule.h"

ZQ_DECLARE_MODULE(WITH_COMPILER_VERSION);

const ZqRTTI MotionLensPlugin::m_RTTI("MotionLensPlugin", &ZqViewerPlugin::m_RTTI);

void ZqModuleAddPlugins(ZqPluginArray& plugins) {
    ZqAppendNewPlugin(plugins, new MotionLensPlugin);
}
