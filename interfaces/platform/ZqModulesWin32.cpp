// Modules on Windows: DLLs, their resources, thread notifications and the
// running program's path.
#include "ZqPlatformInternal.h"

#include <windows.h>

namespace ZqPlatform {

namespace {

// A module is the HMODULE that Windows gives.
HMODULE Handle(Module* module) {
    return reinterpret_cast<HMODULE>(module);
}

Module* Wrapped(HMODULE module) {
    return reinterpret_cast<Module*>(module);
}

} // namespace

void DisableThreadNotifications(Module* module) {
    DisableThreadLibraryCalls(Handle(module));
    CountThreadNotificationSwitch();
}

const char* ModuleSuffix() {
    return ".dll";
}

Module* LoadModule(const char* path, std::string& error) {
    HMODULE module = LoadLibraryA(path);
    if (!module) {
        DWORD code = GetLastError();
        char text[512] = "";
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                       text, sizeof text, nullptr);
        error = text[0] ? text : "cannot load module (error " + std::to_string(code) + ")";
        while (!error.empty() && (error.back() == '\n' || error.back() == '\r')) {
            error.pop_back();
        }
    }
    return Wrapped(module);
}

void* FindSymbol(Module* module, const char* name) {
    return module ? reinterpret_cast<void*>(GetProcAddress(Handle(module), name)) : nullptr;
}

void UnloadModule(Module* module) {
    if (module) {
        FreeLibrary(Handle(module));
        NotifyUnloaded();
    }
}

bool IsLoadedAddress(const void* address) {
    HMODULE module = nullptr;
    return GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<const char*>(address), &module) != 0;
}

Module* ModuleOf(const void* address) {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<const char*>(address), &module);
    return Wrapped(module);
}

const unsigned char* FindModuleResource(Module* module, unsigned type, unsigned identifier,
                                        unsigned language, size_t& size) {
    size = 0;
    HMODULE handle = Handle(module);
    HRSRC found = FindResourceExA(handle, MAKEINTRESOURCEA(type), MAKEINTRESOURCEA(identifier),
                                  static_cast<WORD>(language));
    HGLOBAL loaded = found ? LoadResource(handle, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (bytes) {
        size = SizeofResource(handle, found);
    }
    return static_cast<const unsigned char*>(bytes);
}

std::string ExecutablePath() {
    char buffer[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

} // namespace ZqPlatform
