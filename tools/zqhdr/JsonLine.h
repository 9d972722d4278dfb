#pragma once

#include <nlohmann/json.hpp>

// One JSON object on its own line of standard output. Text from files is
// bytes, not always UTF-8: what is not is replaced.
void PrintJsonLine(const nlohmann::ordered_json& object);
