#pragma once

#include "ZqPlugin.h"

// Behaviour every ordinary plug-in class shares: no options dialog, steps
// matched by exact class name and then by version, default infos that name
// the plug-in. `ToolkitBase` is the toolkit class the plug-in derives from.
template <class ToolkitBase> class ZqFramePlugin : public ToolkitBase {
public:
    ZqFramePlugin(const char* name, const char* version, const char* shortDescription,
                  const char* longDescription)
        : ToolkitBase(name, version, shortDescription, longDescription), m_version(version) {}

    bool HasOptionsDialog() override { return false; }
    bool ShowOptionsDialog(ZqPluginInfo*, ZqWindowHandle) override { return false; }

protected:
    // The class name must equal this plug-in's type record name exactly; only
    // then is the version looked at.
    bool NamesThisClassAndVersion(const ZqPluginInfo* info) const {
        if (!info || info->GetClassName() != this->GetRTTI()->GetName()) {
            return false;
        }
        return this->VerifyVersionString(info->GetVersion());
    }

    // Sets name, version, class name and type, in that order, and returns `info`.
    template <class Info> Info* FillDefaultInfo(Info* info, const char* type) const {
        info->SetName(this->GetName());
        info->SetVersion(m_version);
        info->SetClassName(this->GetRTTI()->GetName());
        info->SetType(type);
        return info;
    }

private:
    // The toolkit keeps a plug-in's version for its own version test and
    // gives it back to no one, so the default info takes it from here.
    ZqString m_version;
};
