// The registry on Windows: the real one, or the .reg file that tests set.
#include "ZqPlatformInternal.h"

#include <windows.h>

namespace ZqPlatform {

// A key of the real registry, or of the test's .reg file when one is set.
struct RegistryKey {
    HKEY key = nullptr;
    RegistryValues fileValues;
};

namespace {

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

bool QueryKeyString(RegistryKey* key, const char* valueName, std::string& value) {
    if (!key) {
        return false;
    }
    if (!key->key) {
        return FindRegistryValue(key->fileValues, valueName, value);
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

} // namespace

RegistryKey* OpenRegistryKey(const char* keyPath) {
    if (!keyPath) {
        return nullptr;
    }
    if (!RegistryFileOverride().empty()) {
        RegistryValues values;
        bool readable = false;
        bool found = ReadRegistryFileKey(RegistryFileOverride(), keyPath, values, readable);
        WatchKeyOpened(keyPath, RegistryFileOverride(), readable, found);
        if (!found) {
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
    bool found =
        root && RegOpenKeyExA(root, slash == std::string::npos ? "" : path.c_str() + slash + 1, 0,
                              KEY_QUERY_VALUE, &opened) == ERROR_SUCCESS;
    WatchKeyOpened(keyPath, "the Windows registry", true, found);
    if (!found) {
        return nullptr;
    }
    auto* key = new RegistryKey;
    key->key = opened;
    return key;
}

bool QueryRegistryString(RegistryKey* key, const char* valueName, std::string& value) {
    bool found = QueryKeyString(key, valueName, value);
    WatchStringQueried(valueName, found);
    return found;
}

void CloseRegistryKey(RegistryKey* key) {
    if (key && key->key) {
        RegCloseKey(key->key);
    }
    delete key;
}

} // namespace ZqPlatform
