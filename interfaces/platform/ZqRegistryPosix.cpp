// The registry on POSIX systems: a .reg file, read afresh at every open.
#include "ZqPlatformInternal.h"

#include <cstdlib>

namespace ZqPlatform {

namespace {

std::string RegistryFilePath() {
    if (!RegistryFileOverride().empty()) {
        return RegistryFileOverride();
    }
    if (const char* path = std::getenv("ZQ_REGISTRY"); path && *path) {
        return path;
    }
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) {
        return std::string(config) + "/zq/registry.reg";
    }
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config/zq/registry.reg";
}

} // namespace

// A key is its values, read from the file when it was opened.
struct RegistryKey {
    RegistryValues values;
};

RegistryKey* OpenRegistryKey(const char* keyPath) {
    if (!keyPath) {
        return nullptr;
    }
    RegistryValues values;
    std::string file = RegistryFilePath();
    bool readable = false;
    bool found = ReadRegistryFileKey(file, keyPath, values, readable);
    WatchKeyOpened(keyPath, file, readable, found);
    return found ? new RegistryKey{std::move(values)} : nullptr;
}

bool QueryRegistryString(RegistryKey* key, const char* valueName, std::string& value) {
    bool found = key && FindRegistryValue(key->values, valueName, value);
    WatchStringQueried(valueName, found);
    return found;
}

void CloseRegistryKey(RegistryKey* key) {
    delete key;
}

} // namespace ZqPlatform
