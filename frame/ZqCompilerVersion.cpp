#include "ZqPluginModule.h"

int GetCompilerVersion() {
    return ZQ_COMPILER_VERSION;
}
