#include "ZqScriptInfo.h"

ZqScriptInfo::ZqScriptInfo() = default;
ZqScriptInfo::~ZqScriptInfo() = default;

void ZqScriptInfo::AddPluginInfo(ZqPluginInfo* info) {
    if (info) {
        m_infos.emplace_back(info);
    }
}

ZqPluginInfo* ZqScriptInfo::GetPluginInfoAt(unsigned index) const {
    return index < m_infos.size() ? static_cast<ZqPluginInfo*>(m_infos[index]) : nullptr;
}
