#include "JsonFile.h"

#include "HostError.h"

#include <fstream>
#include <sstream>

nlohmann::ordered_json ReadJsonFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw HostError(path + ": cannot be read");
    }
    std::stringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        throw HostError(path + ": cannot be read");
    }
    try {
        return nlohmann::ordered_json::parse(text.str());
    } catch (const nlohmann::json::exception& problem) {
        throw HostError(path + ": not valid JSON: " + problem.what());
    }
}

void WriteJsonFile(const std::string& path, const nlohmann::ordered_json& value) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << value.dump(2) << '\n';
    file.close();
    if (!file) {
        throw HostError(path + ": cannot be written");
    }
}
