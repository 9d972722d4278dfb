#include "JsonLine.h"

#include <cstdio>

void PrintJsonLine(const nlohmann::ordered_json& object) {
    std::string text =
        object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    std::printf("%s\n", text.c_str());
}
