#include "ZqPluginModule.h"

void GetPlugins(ZqPluginArray& plugins) {
    ZqModuleAddPlugins(plugins);
}
