#include "ZqPluginManager.h"

namespace {
ZqPluginManager* g_manager = nullptr;
}

ZqPluginManager* ZqPluginManager::GetInstance() {
    return g_manager;
}

void ZqPluginManager::SetInstance(ZqPluginManager* manager) {
    g_manager = manager;
}

ZqPluginManager::~ZqPluginManager() = default;
