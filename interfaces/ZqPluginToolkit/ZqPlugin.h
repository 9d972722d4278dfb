#pragma once

#include "ZqExecutionResult.h"
#include "ZqPluginInfo.h"
#include "ZqPointer.h"
#include "ZqRTTI.h"
#include "ZqSharedData.h"
#include "ZqString.h"

typedef void* ZqWindowHandle;

// The base of every plug-in. The host offers it steps (CanExecute) and runs
// the ones it accepts (Execute). The order of the virtual operations below is
// the order of the slots the host calls; keep it.
class ZQPLUGINTOOLKIT_API ZqPlugin : public ZqRefObject {
public:
    static const ZqRTTI m_RTTI;

    ZqPlugin(const char* name, const char* version, const char* shortDescription,
             const char* longDescription);
    ~ZqPlugin() override;

    virtual const ZqRTTI* GetRTTI() const { return &m_RTTI; }
    virtual bool CanExecute(ZqPluginInfo* info) = 0;
    virtual ZqPointer<ZqExecutionResult> Execute(const ZqPluginInfo* info) = 0;
    // A new info, owned by the caller, that names this plug-in; or null.
    virtual ZqPluginInfo* MakeDefaultInfo() = 0;
    virtual bool HasOptionsDialog() { return false; }
    virtual bool ShowOptionsDialog(ZqPluginInfo* info, ZqWindowHandle parent);
    virtual void SetAbsolutePluginPath(const char* path);
    virtual const ZqString& GetAbsolutePluginPath() const;
    virtual bool CanCreateDefaultInstance() { return true; }

    const ZqString& GetName() const { return m_name; }
    const ZqString& GetVersion() const { return m_version; }
    const ZqString& GetShortDescription() const { return m_shortDescription; }
    const ZqString& GetLongDescription() const { return m_longDescription; }

protected:
    // Versions are "MAJOR" or "MAJOR.MINOR" in decimal digits ("1" is "1.0").
    // A step's version is accepted when its major number equals the plug-in's
    // and its minor number is not newer: a "1.0" plug-in runs "1.0" steps but
    // neither "1.1" nor "2.0" steps. Anything else, null included, is refused.
    bool VerifyVersionString(const char* version) const;

    // The host's shared data of that type, or null.
    static ZqSharedData* GetSharedData(const ZqRTTI* rtti);

private:
    ZqString m_name;
    ZqString m_version;
    ZqString m_shortDescription;
    ZqString m_longDescription;
    ZqString m_absolutePluginPath;
};
