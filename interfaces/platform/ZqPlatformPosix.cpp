#include "ZqPlatformInternal.h"

#include <climits>
#include <cstdio>
#include <dlfcn.h>
#include <unistd.h>

namespace ZqPlatform {

int MessageBox(void*, const char* text, const char* caption, unsigned style) {
    text = text ? text : "";
    caption = caption ? caption : "";
    if (Presenter* presenter = CurrentPresenter()) {
        presenter->ShowMessageBox(text, caption, style);
    } else {
        std::fprintf(stderr, "[%s] %s\n", caption, text);
    }
    return ID_OK;
}

int ShowInfoDialog(const char* title, const char* text) {
    title = title ? title : "";
    text = text ? text : "";
    if (Presenter* presenter = CurrentPresenter()) {
        presenter->ShowInfoDialog(title, text);
    } else {
        std::printf("%s\n%s\n", title, text);
        std::fflush(stdout);
    }
    return ID_OK;
}

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
