#pragma once

#include "ZqPluginInfo.h"
#include "ZqPointer.h"

#include <vector>

// An ordered list of steps. Reference counted, so that whoever runs a script
// can take charge of it.
class ZQPLUGINTOOLKIT_API ZqScriptInfo : public ZqRefObject {
public:
    ZqScriptInfo();
    ~ZqScriptInfo() override;

    // Appends `info` and takes it over: the script holds a reference on it.
    void AddPluginInfo(ZqPluginInfo* info);

    unsigned GetPluginInfoCount() const { return static_cast<unsigned>(m_infos.size()); }
    ZqPluginInfo* GetPluginInfoAt(unsigned index) const;

private:
    std::vector<ZqPointer<ZqPluginInfo>> m_infos;
};
