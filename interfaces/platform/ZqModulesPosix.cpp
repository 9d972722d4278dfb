// Modules on POSIX systems: loading shared objects, thread notifications and
// the running program's path.
#include "ZqPlatformInternal.h"

#include <climits>
#include <dlfcn.h>
#include <unistd.h>

namespace ZqPlatform {

// POSIX systems send no per-thread notifications; only the call is counted.
void DisableThreadNotifications(void*) {
    CountThreadNotificationSwitch();
}

const char* ModuleSuffix() {
    return ".so";
}

void* LoadModule(const char* path, std::string& error) {
    // RTLD_LOCAL keeps one module's hidden symbols from resolving another's.
    void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* reason = dlerror();
        error = reason ? reason : "cannot load module";
    }
    return module;
}

void* FindSymbol(void* module, const char* name) {
    return module ? dlsym(module, name) : nullptr;
}

void UnloadModule(void* module) {
    if (module) {
        dlclose(module);
    }
}

// Shared objects carry no resources here; modules keep such data in code.
void* ModuleOf(const void*) {
    return nullptr;
}

const unsigned char* FindModuleResource(void*, unsigned, unsigned, unsigned, size_t& size) {
    size = 0;
    return nullptr;
}

std::string ExecutablePath() {
    char buffer[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (length <= 0) {
        return std::string();
    }
    return std::string(buffer, static_cast<size_t>(length));
}

} // namespace ZqPlatform
