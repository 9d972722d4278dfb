#include "ZqPluginInfo.h"

#include <cstddef>

const ZqRTTI ZqPluginInfo::m_RTTI("ZqPluginInfo", nullptr);

ZqPluginInfo::ZqPluginInfo() = default;
ZqPluginInfo::~ZqPluginInfo() = default;

ZqPluginInfo* ZqPluginInfo::Clone() const {
    ZqPluginInfo* copy = new ZqPluginInfo;
    CopyInto(*copy);
    return copy;
}

void ZqPluginInfo::CopyInto(ZqPluginInfo& copy) const {
    copy.m_name = m_name;
    copy.m_version = m_version;
    copy.m_className = m_className;
    copy.m_type = m_type;
    copy.m_parameters = m_parameters;
    copy.m_bDirty = m_bDirty;
}

bool ZqPluginInfo::Equals(const ZqPluginInfo* other) const {
    if (!other || other->GetRTTI() != GetRTTI()) {
        return false;
    }
    if (m_name != other->m_name || m_version != other->m_version ||
        m_className != other->m_className || m_type != other->m_type ||
        m_parameters.size() != other->m_parameters.size()) {
        return false;
    }
    for (std::size_t i = 0; i < m_parameters.size(); ++i) {
        if (m_parameters[i].first != other->m_parameters[i].first ||
            m_parameters[i].second != other->m_parameters[i].second) {
            return false;
        }
    }
    return true;
}

void ZqPluginInfo::SetName(const char* name) {
    m_name = name;
    m_bDirty = true;
}

void ZqPluginInfo::SetVersion(const char* version) {
    m_version = version;
    m_bDirty = true;
}

void ZqPluginInfo::SetClassName(const char* className) {
    m_className = className;
    m_bDirty = true;
}

void ZqPluginInfo::SetType(const char* type) {
    m_type = type;
    m_bDirty = true;
}

void ZqPluginInfo::AddParameter(const char* key, const char* value) {
    m_parameters.emplace_back(ZqString(key), ZqString(value));
    m_bDirty = true;
}

bool ZqPluginInfo::SetBool(const char* key, bool value, unsigned index) {
    const char* text = value ? "TRUE" : "FALSE";
    unsigned seen = 0;
    for (auto& parameter : m_parameters) {
        if (parameter.first == key && seen++ == index) {
            parameter.second = text;
            m_bDirty = true;
            return true;
        }
    }
    AddParameter(key, text);
    return true;
}

const char* ZqPluginInfo::GetKeyAt(unsigned index) const {
    return index < m_parameters.size() ? static_cast<const char*>(m_parameters[index].first)
                                       : nullptr;
}

const char* ZqPluginInfo::GetValueAt(unsigned index) const {
    return index < m_parameters.size() ? static_cast<const char*>(m_parameters[index].second)
                                       : nullptr;
}

const char* ZqPluginInfo::GetValue(const char* key) const {
    for (const auto& parameter : m_parameters) {
        if (parameter.first == key) {
            return parameter.second;
        }
    }
    return nullptr;
}
