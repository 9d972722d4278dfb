// Modules on POSIX systems: loading shared objects, thread notifications and
// the running program's path.
#include "ZqPlatformInternal.h"

#include <climits>
#include <dlfcn.h>
#include <unistd.h>

namespace ZqPlatform {

// POSIX systems send no per-thread notifications; only the call is counted.
void DisableThreadNotifications(Module*) {
    CountThreadNotificationSwitch();
}

const char* ModuleSuffix() {
    return ".so";
}

// A module is the handle dlopen gives.
Module* LoadModule(const char* path, std::string& error) {
    // RTLD_LOCAL keeps one module's hidden symbols from resolving another's.
    void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* reason = dlerror();
        error = reason ? reason : "cannot load module";
    }
    return static_cast<Module*>(module);
}

void* FindSymbol(Module* module, const char* name) {
    return module ? dlsym(module, name) : nullptr;
}

void UnloadModule(Module* module) {
    if (module) {
        dlclose(module);
        NotifyUnloaded();
    }
}

bool IsLoadedAddress(const void* address) {
    Dl_info info;
    return dladdr(address, &info) != 0;
}

// Shared objects carry no resources here; modules keep such data in code.
Module* ModuleOf(const void*) {
    return nullptr;
}

const unsigned char* FindModuleResource(Module*, unsigned, unsigned, unsigned, size_t& size) {
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
