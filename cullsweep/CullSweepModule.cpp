// The CullSweep module: what it sets up at load, in order, and its plug-ins.
#include "CullSweepPlugin.h"
#include "ZqAnimationKeys.h"
#include "ZqAnimationSDM.h"
#include "ZqPluginModule.h"

ZQ_DECLARE_MODULE(WITH_COMPILER_VERSION);

const ZqRTTI CullSweepPlugin::m_RTTI("CullSweepPlugin", &ZqPlugin::m_RTTI);

namespace {

// The module reads animated scenes, so it registers every key loader at load.
// A braced list is evaluated left to right, which keeps the order.
[[maybe_unused]] const int g_keyLoaders[] = {
    ZqFloatKey::RegisterLoader(),     ZqBezFloatKey::RegisterLoader(),
    ZqPosKey::RegisterLoader(),       ZqBezPosKey::RegisterLoader(),
    ZqRotKey::RegisterLoader(),       ZqBezRotKey::RegisterLoader(),
    ZqBoolKey::RegisterLoader(),      ZqColorKey::RegisterLoader(),
    ZqEulerRotKey::RegisterLoader(),  ZqLinColorKey::RegisterLoader(),
    ZqLinFloatKey::RegisterLoader(),  ZqLinPosKey::RegisterLoader(),
    ZqLinRotKey::RegisterLoader(),    ZqTCBPosKey::RegisterLoader(),
    ZqTCBRotKey::RegisterLoader(),    ZqTCBFloatKey::RegisterLoader(),
    ZqStepBoolKey::RegisterLoader(),  ZqStepColorKey::RegisterLoader(),
    ZqStepFloatKey::RegisterLoader(), ZqStepPosKey::RegisterLoader(),
    ZqStepRotKey::RegisterLoader(),
};

const ZqAnimationSDM g_animationStaticData;

} // namespace

void ZqModuleAddPlugins(ZqPluginArray& plugins) {
    ZqAppendNewPlugin(plugins, new CullSweepPlugin);
}
