#include "ZqExportPluginInfo.h"

const ZqRTTI ZqExportPluginInfo::m_RTTI("ZqExportPluginInfo", &ZqPluginInfo::m_RTTI);

ZqExportPluginInfo::ZqExportPluginInfo(const char* directory, const char* fileName,
                                       const char* extension)
    : m_directory(directory), m_fileName(fileName), m_extension(extension) {}

ZqPluginInfo* ZqExportPluginInfo::Clone() const {
    ZqExportPluginInfo* copy = new ZqExportPluginInfo(m_directory, m_fileName, m_extension);
    CopyInto(*copy);
    return copy;
}

bool ZqExportPluginInfo::Equals(const ZqPluginInfo* other) const {
    if (!ZqPluginInfo::Equals(other)) {
        return false;
    }
    const auto* info = static_cast<const ZqExportPluginInfo*>(other);
    return m_directory == info->m_directory && m_fileName == info->m_fileName &&
           m_extension == info->m_extension;
}
