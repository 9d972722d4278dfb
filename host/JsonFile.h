#pragma once

#include <nlohmann/json.hpp>

#include <string>

// Reads and parses a JSON file; a HostError names the file and the problem.
// Folders, documents nested thousands of levels deep and text holding a NUL
// character are refused.
nlohmann::ordered_json ReadJsonFile(const std::string& path);

// Writes `value` to `path` whole or not at all, replacing what is there only
// when complete; a HostError names the file and the cause.
void WriteJsonFile(const std::string& path, const nlohmann::ordered_json& value);
