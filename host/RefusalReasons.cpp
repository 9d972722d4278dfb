#include "RefusalReasons.h"

#include "ZqPlatform.h"
#include "ZqStricmp.h"
#include "ZqViewerPlugin.h"
#include "ZqViewerPluginInfo.h"

#include <cstdlib>

namespace {

// The registry look-ups a plug-in makes while it is asked, the last one kept.
class LookupWatcher : public ZqPlatform::RegistryWatcher {
public:
    LookupWatcher() : m_previous(ZqPlatform::SetRegistryWatcher(this)) {}
    ~LookupWatcher() override { ZqPlatform::SetRegistryWatcher(m_previous); }

    void KeyOpened(const char* keyPath, const char* source, bool readable, bool found) override {
        m_looked = true;
        m_key = keyPath;
        m_source = source;
        m_readable = readable;
        m_keyFound = found;
        m_valueFound = false;
        m_value.clear();
    }
    void StringQueried(const char* valueName, bool found) override {
        m_value = *valueName ? "the value \"" + std::string(valueName) + "\"" : "a default value";
        m_valueFound = found;
    }

    // What the last look-up did not find, or empty when there was none.
    std::string WhatWasMissing() const {
        if (!m_looked) {
            return "";
        }
        if (!m_readable) {
            return "looked up " + m_key + ", but found no registry file at " + m_source;
        }
        if (!m_keyFound) {
            return "found no key " + m_key + " in " + m_source;
        }
        if (!m_value.empty() && !m_valueFound) {
            return "found the key " + m_key + " in " + m_source + " without " + m_value;
        }
        return "";
    }

private:
    ZqPlatform::RegistryWatcher* m_previous;
    bool m_looked = false;
    std::string m_key;
    std::string m_source;
    bool m_readable = false;
    bool m_keyFound = false;
    bool m_valueFound = false;
    std::string m_value;
};

std::string Text(const ZqString& text) {
    return static_cast<const char*>(text);
}

// Dotted numbers compared number by number: only to word a version refusal.
bool IsNewer(const std::string& version, const std::string& than) {
    const char* a = version.c_str();
    const char* b = than.c_str();
    while (*a || *b) {
        char* endA;
        char* endB;
        unsigned long x = std::strtoul(a, &endA, 10);
        unsigned long y = std::strtoul(b, &endB, 10);
        if (x != y) {
            return x > y;
        }
        if (endA == a && endB == b) {
            break;
        }
        a = *endA == '.' ? endA + 1 : endA;
        b = *endB == '.' ? endB + 1 : endB;
    }
    return false;
}

// The step as a viewer step, with the plug-in's own renderer where its
// default info names one.
ZqPointer<ZqPluginInfo> AsViewerStep(const ZqPluginInfo& step, const ZqPluginInfo* defaults) {
    ZqPluginToolkitRenderer renderer = ZQ_RENDERER_DEFAULT;
    if (defaults && defaults->GetRTTI()->IsKindOf(&ZqViewerPluginInfo::m_RTTI)) {
        renderer = static_cast<const ZqViewerPluginInfo*>(defaults)->GetRenderer();
    }
    ZqPointer<ZqPluginInfo> viewer = new ZqViewerPluginInfo(renderer);
    viewer->SetName(step.GetName());
    viewer->SetVersion(step.GetVersion());
    viewer->SetClassName(step.GetClassName());
    viewer->SetType(step.GetType());
    for (unsigned i = 0; i < step.GetParameterCount(); ++i) {
        viewer->AddParameter(step.GetKeyAt(i), step.GetValueAt(i));
    }
    return viewer;
}

std::string WhyRefused(ZqPlugin& plugin, ZqPluginInfo* step) {
    std::string className = plugin.GetRTTI()->GetName();
    ZqPointer<ZqPluginInfo> defaults = plugin.MakeDefaultInfo();
    bool isViewerStep = step->GetRTTI()->IsKindOf(&ZqViewerPluginInfo::m_RTTI);

    std::string missing;
    {
        LookupWatcher watcher;
        if (plugin.CanExecute(step)) {
            return "accepts the step when asked again";
        }
        missing = watcher.WhatWasMissing();
    }
    if (Text(step->GetClassName()) != className) {
        ZqPointer<ZqPluginInfo> probe = step->Clone();
        probe->SetClassName(className.c_str());
        if (plugin.CanExecute(probe)) {
            return "takes the class \"" + className + "\", not \"" + Text(step->GetClassName()) +
                   "\"";
        }
    }
    if (defaults && Text(step->GetVersion()) != Text(defaults->GetVersion())) {
        ZqPointer<ZqPluginInfo> probe = step->Clone();
        probe->SetVersion(defaults->GetVersion());
        if (plugin.CanExecute(probe)) {
            std::string version = Text(step->GetVersion());
            std::string own = Text(defaults->GetVersion());
            return "version " + version +
                   (IsNewer(version, own) ? " is newer than" : " is older than") + " its own " +
                   own;
        }
    }
    if (!isViewerStep && plugin.GetRTTI()->IsKindOf(&ZqViewerPlugin::m_RTTI)) {
        LookupWatcher watcher;
        if (plugin.CanExecute(AsViewerStep(*step, defaults))) {
            return "is a viewer plug-in: it takes only viewer steps (steps with a \"renderer\")";
        }
        if (missing.empty()) {
            missing = watcher.WhatWasMissing();
        }
        if (!missing.empty()) {
            return "is a viewer plug-in: it takes only viewer steps (steps with a \"renderer\"), "
                   "and " +
                   missing;
        }
    }
    if (!missing.empty()) {
        return missing;
    }
    return "refuses it, and no single change of class, version or kind of step makes it accept";
}

} // namespace

std::vector<std::string> ExplainRefusals(const ModuleSet& modules, ZqPluginInfo* step) {
    std::vector<std::string> reasons;
    for (const ModuleSet::Plugin& entry : modules.GetPlugins()) {
        ZqPlugin& plugin = *entry.plugin;
        const char* className = plugin.GetRTTI()->GetName();
        if (!plugin.GetName().EqualsNoCase(step->GetName()) &&
            ZqStricmp(className, step->GetClassName()) != 0) {
            continue;
        }
        reasons.push_back(Text(plugin.GetName()) + " (" + className + ", " +
                          entry.module->fileName + ") " + WhyRefused(plugin, step));
    }
    return reasons;
}
