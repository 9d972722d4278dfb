#include "ScriptRunner.h"

#include <cstdio>

namespace {
// A plug-in whose script names itself would otherwise recurse without end.
const unsigned kMaxNesting = 8;
} // namespace

ScriptRunner::ScriptRunner(const ModuleSet& modules)
    : m_modules(modules), m_previous(ZqPluginManager::GetInstance()) {
    ZqPluginManager::SetInstance(this);
}

ScriptRunner::~ScriptRunner() {
    ZqPluginManager::SetInstance(m_previous);
}

ZqPointer<ZqBatchExecutionResult> ScriptRunner::ExecuteScript(ZqScriptInfo* script, int) {
    ZqPointer<ZqScriptInfo> keep(script);
    ZqPointer<ZqBatchExecutionResult> batch = new ZqBatchExecutionResult;
    if (!script) {
        return batch;
    }
    std::string indent(2 * m_depth, ' ');
    if (m_depth >= kMaxNesting) {
        std::fprintf(stderr, "%sscript nested more than %u deep: not run\n", indent.c_str(),
                     kMaxNesting);
        batch->AddResult(new ZqExecutionResult(ZqExecutionResult::RETURN_FAILURE));
        return batch;
    }
    ++m_depth;
    for (unsigned i = 0; i < script->GetPluginInfoCount(); ++i) {
        ZqPluginInfo* info = script->GetPluginInfoAt(i);
        std::string label = indent + "step " + std::to_string(i + 1) + ": " +
                            static_cast<const char*>(info->GetName()) + " (" +
                            static_cast<const char*>(info->GetClassName()) + ")";
        batch->AddResult(RunStep(info, label));
    }
    --m_depth;
    return batch;
}

ZqPointer<ZqExecutionResult> ScriptRunner::RunStep(ZqPluginInfo* info, const std::string& label) {
    for (const ModuleSet::Plugin& entry : m_modules.GetPlugins()) {
        if (!entry.plugin->CanExecute(info)) {
            continue;
        }
        ZqPointer<ZqExecutionResult> result = entry.plugin->Execute(info);
        bool success = result && result->GetReturnCode() == ZqExecutionResult::RETURN_SUCCESS;
        std::fprintf(stderr, "%s: %s\n", label.c_str(), success ? "SUCCESS" : "FAILURE");
        return result;
    }
    std::fprintf(stderr, "%s: no plug-in accepts this step\n", label.c_str());
    return new ZqExecutionResult(ZqExecutionResult::RETURN_FAILURE);
}
