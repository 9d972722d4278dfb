#pragma once

#include "ModuleSet.h"
#include "ZqPluginManager.h"

#include <string>
#include <vector>

// Runs scripts over the loaded plug-ins: each step goes to the first plug-in,
// in array order, whose CanExecute accepts it. Every step runs, whatever the
// steps before it gave, and each is reported on stderr: a step that no
// plug-in accepts with the refusals of the plug-ins it names, a placeholder's
// with what the placeholder tells the user. Installed as the toolkit's plug-in
// manager, so plug-ins' own scripts run the same way, reported indented under
// their step's line.
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
    // The steps running now, outermost first; each one's line is printed
    // before any nested step's, once.
    struct RunningStep {
        std::string label;
        bool announced;
    };
    std::vector<RunningStep> m_running;
};
