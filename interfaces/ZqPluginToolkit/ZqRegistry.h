#pragma once

#include "ZqString.h"

namespace ZqPlatform {
struct RegistryKey;
}

// A reader for one registry key. Create answers null when the key cannot be
// opened; the caller destroys the reader.
class ZQPLUGINTOOLKIT_API ZqRegistry {
public:
    // `keyPath` spells out its root: "HKEY_CLASSES_ROOT\\Some\\Key".
    static ZqRegistry* Create(const char* keyPath);
    ~ZqRegistry();
    ZqRegistry(const ZqRegistry&) = delete;
    ZqRegistry& operator=(const ZqRegistry&) = delete;

    // Writes the string value `valueName` ("" for the key's default value)
    // into `out`; false and `out` untouched when there is none.
    bool QueryString(const char* valueName, ZqString& out);

private:
    explicit ZqRegistry(ZqPlatform::RegistryKey* key) : m_pKey(key) {}
    ZqPlatform::RegistryKey* m_pKey;
};
