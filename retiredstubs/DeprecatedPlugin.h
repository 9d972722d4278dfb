#pragma once

#include "ZqMessageBox.h"
#include "ZqPlugin.h"

// What every placeholder for a withdrawn plug-in does, whatever its kind: it
// answers to its old name in any letter case, offers no default info or
// default instance, and its options dialog asks the user to remove the step.
template <class ToolkitBase> class DeprecatedPlugin : public ToolkitBase {
public:
    explicit DeprecatedPlugin(const char* name)
        : ToolkitBase(name, "0.0", kDeprecationText, kDeprecationText) {}

    ZqPluginInfo* MakeDefaultInfo() override { return nullptr; }
    bool HasOptionsDialog() override { return true; }
    bool ShowOptionsDialog(ZqPluginInfo*, ZqWindowHandle) override {
        ZqMessageBox(this->GetLongDescription(), this->GetName(), nullptr);
        return true;
    }
    bool CanCreateDefaultInstance() override { return false; }

protected:
    static constexpr const char* kDeprecationText =
        "This class has been deprecated by Quorvel.\nPlease remove this plug-in from your script.";

    // Class name and version are not looked at.
    bool HasThisNameInAnyCase(const ZqPluginInfo* info) const {
        return info && this->GetName().EqualsNoCase(info->GetName());
    }
    static ZqPointer<ZqExecutionResult> DoNothing() {
        return new ZqExecutionResult(ZqExecutionResult::RETURN_SUCCESS);
    }
};
