#pragma once

#include "ZqPluginInfo.h"

// An export step: a plug-in info that also names where the export goes.
class ZQPLUGINTOOLKIT_API ZqExportPluginInfo : public ZqPluginInfo {
public:
    static const ZqRTTI m_RTTI;
    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }

    ZqExportPluginInfo(const char* directory, const char* fileName, const char* extension);

    ZqPluginInfo* Clone() const override;
    bool Equals(const ZqPluginInfo* other) const override;

    const ZqString& GetDirectory() const { return m_directory; }
    const ZqString& GetFile() const { return m_fileName; }
    const ZqString& GetExtension() const { return m_extension; }

private:
    ZqString m_directory;
    ZqString m_fileName;
    ZqString m_extension;
};
