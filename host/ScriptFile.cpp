#include "ScriptFile.h"

#include "HostError.h"
#include "JsonFile.h"
#include "ZqViewerPluginInfo.h"

#include <climits>

using Json = nlohmann::ordered_json;

namespace {

std::string Where(const std::string& path, size_t step) {
    return path + ": steps[" + std::to_string(step) + "]";
}

std::string TextField(const Json& step, const char* key, const std::string& where) {
    auto found = step.find(key);
    if (found == step.end() || !found->is_string()) {
        throw HostError(where + ": \"" + key + "\" must be a string");
    }
    return found->get<std::string>();
}

ZqPointer<ZqPluginInfo> MakeStep(const Json& step, const std::string& where) {
    if (!step.is_object()) {
        throw HostError(where + ": a step must be an object");
    }
    ZqPointer<ZqPluginInfo> info;
    auto renderer = step.find("renderer");
    if (renderer != step.end()) {
        if (!renderer->is_number_integer() || renderer->get<long long>() < INT_MIN ||
            renderer->get<long long>() > INT_MAX) {
            throw HostError(where + ": \"renderer\" must be an integer");
        }
        info = new ZqViewerPluginInfo(static_cast<ZqPluginToolkitRenderer>(renderer->get<int>()));
    } else {
        info = new ZqPluginInfo;
    }
    info->SetName(TextField(step, "name", where).c_str());
    info->SetVersion(TextField(step, "version", where).c_str());
    info->SetClassName(TextField(step, "class", where).c_str());
    info->SetType(TextField(step, "type", where).c_str());
    auto parameters = step.find("parameters");
    if (parameters != step.end()) {
        if (!parameters->is_array()) {
            throw HostError(where + ": \"parameters\" must be a list of [key, value] pairs");
        }
        for (const Json& pair : *parameters) {
            if (!pair.is_array() || pair.size() != 2 || !pair[0].is_string() ||
                !pair[1].is_string()) {
                throw HostError(where + ": each parameter must be a [\"key\", \"value\"] pair");
            }
            info->AddParameter(pair[0].get<std::string>().c_str(),
                               pair[1].get<std::string>().c_str());
        }
    }
    info->MarkAsDirty(false);
    return info;
}

} // namespace

ZqPointer<ZqScriptInfo> ReadScriptFile(const std::string& path) {
    Json document = ReadJsonFile(path);
    auto steps = document.is_object() ? document.find("steps") : document.end();
    if (!document.is_object() || steps == document.end() || !steps->is_array()) {
        throw HostError(path + ": a script must be an object with a \"steps\" list");
    }
    ZqPointer<ZqScriptInfo> script = new ZqScriptInfo;
    for (size_t i = 0; i < steps->size(); ++i) {
        script->AddPluginInfo(MakeStep((*steps)[i], Where(path, i)));
    }
    return script;
}
