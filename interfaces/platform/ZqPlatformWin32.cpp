// The seam on Windows: the real system calls.
#include "ZqPlatformInternal.h"

#include <windows.h>
// The seam has a MessageBox of its own; the header's macro would rename it.
#undef MessageBox

#include <new>

namespace ZqPlatform {

int MessageBox(void* owner, const char* text, const char* caption, unsigned style) {
    text = text ? text : "";
    caption = caption ? caption : "";
    if (Presenter* presenter = CurrentPresenter()) {
        presenter->ShowMessageBox(text, caption, style);
        return ID_OK;
    }
    return MessageBoxA(static_cast<HWND>(owner), text, caption, style);
}

int ShowInfoDialog(const char* title, const char* text) {
    title = title ? title : "";
    text = text ? text : "";
    if (Presenter* presenter = CurrentPresenter()) {
        presenter->ShowInfoDialog(title, text);
        return ID_OK;
    }
    return MessageBoxA(nullptr, text, title, MB_OK);
}

void DisableThreadNotifications(void* module) {
    DisableThreadLibraryCalls(static_cast<HMODULE>(module));
    CountThreadNotificationSwitch();
}

const char* ModuleSuffix() {
    return ".dll";
}

void* LoadModule(const char* path, std::string& error) {
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
    return module;
}

void* FindSymbol(void* module, const char* name) {
    return module ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name))
                  : nullptr;
}

void UnloadModule(void* module) {
    if (module) {
        FreeLibrary(static_cast<HMODULE>(module));
    }
}

void* ModuleOf(const void* address) {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<const char*>(address), &module);
    return module;
}

const unsigned char* FindModuleResource(void* module, unsigned type, unsigned identifier,
                                        unsigned language, size_t& size) {
    size = 0;
    HMODULE handle = static_cast<HMODULE>(module);
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

int LaunchProgram(const char* commandLine, int showCommand) {
    if (Launcher* launcher = CurrentLauncher()) {
        return launcher->Launch(commandLine ? commandLine : "", showCommand);
    }
    return static_cast<int>(
        WinExec(commandLine ? commandLine : "", static_cast<UINT>(showCommand)));
}

namespace {

// A key of the real registry, or of the test's .reg file when one is set.
struct RegistryKey {
    HKEY key = nullptr;
    RegistryValues fileValues;
};

HKEY RootKey(const std::string& name) {
    const struct {
        const char* name;
        HKEY key;
    } roots[] = {{"hkey_classes_root", HKEY_CLASSES_ROOT},
                 {"hkey_current_user", HKEY_CURRENT_USER},
                 {"hkey_local_machine", HKEY_LOCAL_MACHINE},
                 {"hkey_users", HKEY_USERS}};
    for (const auto& root : roots) {
        if (LowerCase(name) == root.name) {
            return root.key;
        }
    }
    return nullptr;
}

} // namespace

void* OpenRegistryKey(const char* keyPath) {
    if (!keyPath) {
        return nullptr;
    }
    if (!RegistryFileOverride().empty()) {
        RegistryValues values;
        if (!ReadRegistryFileKey(RegistryFileOverride(), keyPath, values)) {
            return nullptr;
        }
        auto* key = new RegistryKey;
        key->fileValues = std::move(values);
        return key;
    }
    std::string path = keyPath;
    size_t slash = path.find('\\');
    HKEY root = RootKey(path.substr(0, slash));
    HKEY opened = nullptr;
    if (!root || RegOpenKeyExA(root, slash == std::string::npos ? "" : path.c_str() + slash + 1, 0,
                               KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
        return nullptr;
    }
    auto* key = new RegistryKey;
    key->key = opened;
    return key;
}

bool QueryRegistryString(void* handle, const char* valueName, std::string& value) {
    auto* key = static_cast<RegistryKey*>(handle);
    if (!key) {
        return false;
    }
    if (!key->key) {
        auto found = key->fileValues.find(LowerCase(valueName ? valueName : ""));
        if (found == key->fileValues.end()) {
            return false;
        }
        value = found->second;
        return true;
    }
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key->key, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return false;
    }
    std::string text(size + 1, '\0');
    if (RegQueryValueExA(key->key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(&text[0]),
                         &size) != ERROR_SUCCESS) {
        return false;
    }
    text.resize(size);
    while (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    value = text;
    return true;
}

void CloseRegistryKey(void* handle) {
    auto* key = static_cast<RegistryKey*>(handle);
    if (key && key->key) {
        RegCloseKey(key->key);
    }
    delete key;
}

void* AllocateLarge(size_t bytes) {
    // Committed pages come zero-filled and are backed only when touched.
    return VirtualAlloc(nullptr, bytes ? bytes : 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

void FreeLarge(void* block, size_t) {
    if (block) {
        VirtualFree(block, 0, MEM_RELEASE);
    }
}

static_assert(sizeof(CRITICAL_SECTION) <= sizeof(LockStorage::bytes),
              "a critical section fits the lock storage");

void InitializeLock(LockStorage* lock) {
    InitializeCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(lock->bytes));
}

void DeleteLock(LockStorage* lock) {
    DeleteCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(lock->bytes));
}

void EnterLock(LockStorage* lock) {
    EnterCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(lock->bytes));
}

void LeaveLock(LockStorage* lock) {
    LeaveCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(lock->bytes));
}

} // namespace ZqPlatform
