#include "ScriptRunner.h"

#include "EscapedText.h"
#include "RefusalReasons.h"

#include <cstdio>

namespace {
// A plug-in whose script names itself would otherwise recurse without end.
const unsigned kMaxNesting = 8;

// A plug-in that can make no instance of its own stands in for a withdrawn
// one: its step line carries what it tells the user, on one line.
std::string PlaceholderNote(ZqPlugin& plugin) {
    if (plugin.CanCreateDefaultInstance()) {
        return "";
    }
    std::string text = static_cast<const char*>(plugin.GetLongDescription());
    for (char& c : text) {
        if (c == '\n') {
            c = ' ';
        }
    }
    return " (a placeholder: " + text + ")";
}
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
    if (!m_running.empty() && !m_running.back().announced) {
        std::fprintf(stderr, "%s\n", m_running.back().label.c_str());
        m_running.back().announced = true;
    }
    ++m_depth;
    for (unsigned i = 0; i < script->GetPluginInfoCount(); ++i) {
        ZqPluginInfo* info = script->GetPluginInfoAt(i);
        std::string label = indent + "step " + std::to_string(i + 1) + ": " +
                            EscapedText(static_cast<const char*>(info->GetName())) + " (" +
                            EscapedText(static_cast<const char*>(info->GetClassName())) + ")";
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
        m_running.push_back({label, false});
        ZqPointer<ZqExecutionResult> result = entry.plugin->Execute(info);
        m_running.pop_back();
        bool success = result && result->GetReturnCode() == ZqExecutionResult::RETURN_SUCCESS;
        std::fprintf(stderr, "%s: %s%s\n", label.c_str(), success ? "SUCCESS" : "FAILURE",
                     PlaceholderNote(*entry.plugin).c_str());
        return result;
    }
    std::fprintf(stderr, "%s: no plug-in accepts this step\n", label.c_str());
    std::string indent(label.find_first_not_of(' ') + 2, ' ');
    for (const std::string& reason : ExplainRefusals(m_modules, info)) {
        std::fprintf(stderr, "%s%s\n", indent.c_str(), EscapedText(reason).c_str());
    }
    return new ZqExecutionResult(ZqExecutionResult::RETURN_FAILURE);
}
