// libFuzzer target: any bytes as a script file. Reading either refuses the
// file with a HostError or gives one step for each entry of "steps", each
// field the whole text the file holds (a NUL would cut it short).
#include "FuzzFolder.h"
#include "HostError.h"
#include "Require.h"
#include "ScriptFile.h"
#include "ZqViewerPluginInfo.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <string>

using Json = nlohmann::ordered_json;

namespace {

void RequireText(const char* text, const Json& expected) {
    Require(text && expected.is_string() && expected.get<std::string>() == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string path = FuzzFolder::Get().Write("script.json", bytes);
    ZqPointer<ZqScriptInfo> script;
    try {
        script = ReadScriptFile(path);
    } catch (const HostError&) {
        return 0;
    }
    const Json steps = Json::parse(bytes).at("steps");
    Require(script->GetPluginInfoCount() == steps.size());
    for (unsigned i = 0; i < script->GetPluginInfoCount(); ++i) {
        const ZqPluginInfo* step = script->GetPluginInfoAt(i);
        const Json& entry = steps[i];
        RequireText(step->GetName(), entry.at("name"));
        RequireText(step->GetVersion(), entry.at("version"));
        RequireText(step->GetClassName(), entry.at("class"));
        RequireText(step->GetType(), entry.at("type"));
        bool viewer = entry.contains("renderer");
        Require(viewer == (step->GetRTTI() == &ZqViewerPluginInfo::m_RTTI));
        if (viewer) {
            Require(static_cast<long long>(
                        static_cast<const ZqViewerPluginInfo*>(step)->GetRenderer()) ==
                    entry.at("renderer").get<long long>());
        }
        Json parameters = entry.value("parameters", Json::array());
        Require(step->GetParameterCount() == parameters.size());
        for (unsigned j = 0; j < step->GetParameterCount(); ++j) {
            RequireText(step->GetKeyAt(j), parameters[j][0]);
            RequireText(step->GetValueAt(j), parameters[j][1]);
        }
    }
    return 0;
}
