#include "JsonFile.h"

#include "FileText.h"
#include "HostError.h"
#include "OutputFile.h"

using Json = nlohmann::ordered_json;

namespace {

// Deeper documents are refused before anything walks them: copying, writing
// and destroying a document recurse once for each level.
const int kMaxNesting = 2500;

std::string Join(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
}

// Text reaches the plug-ins as C strings, which end at the first NUL, so a
// NUL would make a name match a shorter one. `place` is the path of the object
// holding the value, `field` the value's key there (with any list indexes).
void RefuseNul(const Json& value, const std::string& path, const std::string& place,
               const std::string& field, const std::string& file) {
    auto refuse = [&](const std::string& where, const std::string& what) {
        throw HostError(file + ": " + (where.empty() ? "" : where + ": ") + what +
                        " holds a NUL character");
    };
    if (value.is_string()) {
        if (value.get_ref<const std::string&>().find('\0') != std::string::npos) {
            refuse(place, field);
        }
    } else if (value.is_object()) {
        for (const auto& member : value.items()) {
            std::string quoted = Json(member.key()).dump();
            if (member.key().find('\0') != std::string::npos) {
                refuse(path, "the name " + quoted);
            }
            RefuseNul(member.value(), Join(path, member.key()), path, quoted, file);
        }
    } else if (value.is_array()) {
        for (size_t i = 0; i < value.size(); ++i) {
            std::string index = "[" + std::to_string(i) + "]";
            RefuseNul(value[i], path + index, place, field + index, file);
        }
    }
}

} // namespace

Json ReadJsonFile(const std::string& path) {
    std::string text = ReadFileText(path);
    Json document;
    try {
        document = Json::parse(text, [&](int depth, Json::parse_event_t event, Json&) {
            if ((event == Json::parse_event_t::object_start ||
                 event == Json::parse_event_t::array_start) &&
                depth >= kMaxNesting) {
                throw HostError(path + ": nested deeper than " + std::to_string(kMaxNesting) +
                                " levels");
            }
            return true;
        });
    } catch (const nlohmann::json::exception& problem) {
        throw HostError(path + ": not valid JSON: " + problem.what());
    }
    RefuseNul(document, "", "", "", path);
    return document;
}

void WriteJsonFile(const std::string& path, const Json& value) {
    std::string error;
    if (!WriteWholeFile(path, "zqhost", value.dump(2) + '\n', error)) {
        throw HostError(path + ": cannot be written (" + error + ")");
    }
}
