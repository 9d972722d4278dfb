// What a module does when it is loaded into a process.
#include "ZqPlatform.h"

#if defined(_WIN32)

extern "C" int __stdcall DllMain(ZqPlatform::Module* module, unsigned long reason, void*) {
    const unsigned long processAttach = 1;
    if (reason == processAttach) {
        ZqPlatform::DisableThreadNotifications(module);
    }
    return 1;
}

#else

namespace {
__attribute__((constructor)) void ZqModuleAttach() {
    ZqPlatform::DisableThreadNotifications(nullptr);
}
} // namespace

#endif
