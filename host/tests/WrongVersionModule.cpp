// A module built with another toolchain, as the host sees it: its
// GetCompilerVersion answers something other than 1310.
#include "ZqPluginModule.h"

int GetCompilerVersion() {
    return 1200;
}

void GetPlugins(ZqPluginArray&) {}
