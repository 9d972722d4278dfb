#include "ZqRegistry.h"

#include "ZqPlatform.h"

#include <string>

ZqRegistry* ZqRegistry::Create(const char* keyPath) {
    ZqPlatform::RegistryKey* key = ZqPlatform::OpenRegistryKey(keyPath);
    return key ? new ZqRegistry(key) : nullptr;
}

ZqRegistry::~ZqRegistry() {
    ZqPlatform::CloseRegistryKey(m_pKey);
}

bool ZqRegistry::QueryString(const char* valueName, ZqString& out) {
    std::string value;
    if (!ZqPlatform::QueryRegistryString(m_pKey, valueName, value)) {
        return false;
    }
    out = value.c_str();
    return true;
}
