#pragma once

#include "ModuleSet.h"
#include "ZqPluginManager.h"

// Runs scripts over the loaded plug-ins: each step goes to the first plug-in,
// in array order, whose CanExecute accepts it. Every step runs, whatever the
// steps before it gave, and each is reported on stderr. Installed as the
// toolkit's plug-in manager, so plug-ins' own scripts run the same way.
class ScriptRunner : public ZqPluginManager {
public:
    explicit ScriptRunner(const ModuleSet& modules);
    ~ScriptRunner() override;

    ZqPointer<ZqBatchExecutionResult> ExecuteScript(ZqScriptInfo* script, int flag) override;

private:
    ZqPointer<ZqExecutionResult> RunStep(ZqPluginInfo* info, const std::string& label);

    const ModuleSet& m_modules;
    ZqPluginManager* m_previous;
    unsigned m_depth = 0;
};
