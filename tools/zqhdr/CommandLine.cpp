#include "CommandLine.h"

#include <cmath>
#include <cstdlib>

namespace {

// The commands an option serves, one bit each.
const unsigned kInfo = 1, kConvert = 2, kBatch = 4;

unsigned BitOf(const std::string& command) {
    return command == "info"      ? kInfo
           : command == "convert" ? kConvert
           : command == "batch"   ? kBatch
                                  : 0;
}

// A count of jobs or threads: 1 to 1024.
bool TakeCount(const std::string& value, unsigned& count) {
    char* end = nullptr;
    unsigned long taken = std::strtoul(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || taken == 0 || taken > 1024 || value[0] == '-') {
        return false;
    }
    count = static_cast<unsigned>(taken);
    return true;
}

// Stores an option's value (empty for a flag); answers the problem, or null.
using Take = const char* (*)(const std::string& value, CommandLine& line);

struct Option {
    const char* name;
    unsigned commands;
    bool takesValue;
    Take take;
};

const Option kOptions[] = {
    {"--json", kInfo | kBatch, false,
     [](const std::string&, CommandLine& line) -> const char* {
         line.json = true;
         return nullptr;
     }},
    {"--stats", kInfo, false,
     [](const std::string&, CommandLine& line) -> const char* {
         line.stats = true;
         return nullptr;
     }},
    {"--exposure", kConvert | kBatch, true,
     [](const std::string& value, CommandLine& line) -> const char* {
         char* end = nullptr;
         line.conversion.exposure = std::strtod(value.c_str(), &end);
         return !value.empty() && *end == '\0' && std::isfinite(line.conversion.exposure)
                    ? nullptr
                    : "--exposure needs a number of stops";
     }},
    {"--compression", kConvert | kBatch, true,
     [](const std::string& value, CommandLine& line) -> const char* {
         line.conversion.compression = value;
         return IsExrCompression(value) ? nullptr : "--compression takes an OpenEXR compression";
     }},
    {"--channels", kConvert | kBatch, true,
     [](const std::string& value, CommandLine& line) -> const char* {
         line.conversion.alpha = value == "rgba";
         return value == "rgb" || value == "rgba" ? nullptr : "--channels takes rgb or rgba";
     }},
    {"--skip-existing", kBatch, false,
     [](const std::string&, CommandLine& line) -> const char* {
         line.conversion.skipExisting = true;
         return nullptr;
     }},
    {"--to", kConvert | kBatch, true,
     [](const std::string& value, CommandLine& line) -> const char* {
         line.to = OutputKindOf("." + value);
         return line.to != OutputKind::Unknown ? nullptr : "--to takes raw, exr or png";
     }},
    {"--out", kBatch, true,
     [](const std::string& value, CommandLine& line) -> const char* {
         line.out = value;
         return nullptr;
     }},
    {"--jobs", kBatch, true,
     [](const std::string& value, CommandLine& line) -> const char* {
         return TakeCount(value, line.jobs) ? nullptr : "--jobs takes a number from 1 to 1024";
     }},
    {"--threads", kConvert | kBatch, true,
     [](const std::string& value, CommandLine& line) -> const char* {
         return TakeCount(value, line.threads) ? nullptr
                                               : "--threads takes a number from 1 to 1024";
     }},
    {"--max-size", kConvert | kBatch, true,
     [](const std::string& value, CommandLine& line) -> const char* {
         unsigned long long size = std::strtoull(value.c_str(), nullptr, 10);
         if (value.empty() || value.size() > 10 ||
             value.find_first_not_of("0123456789") != std::string::npos || size == 0 ||
             size > 4294967295ull) {
             return "--max-size takes a whole number of pixels from 1 to 4294967295";
         }
         line.conversion.maxSize = static_cast<unsigned>(size);
         return nullptr;
     }},
};

const Option* Find(const std::string& word, unsigned command) {
    for (const Option& option : kOptions) {
        if (word == option.name && (option.commands & command) != 0) {
            return &option;
        }
    }
    return nullptr;
}

} // namespace

std::string ParseCommandLine(const std::string& command, const std::vector<std::string>& words,
                             CommandLine& line) {
    const unsigned bit = BitOf(command);
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() < 2 || word[0] != '-') {
            line.operands.push_back(word);
            continue;
        }
        const Option* option = Find(word, bit);
        if (!option) {
            return "unknown option " + word;
        }
        if (option->takesValue && i + 1 == words.size()) {
            return word + " needs a value";
        }
        const char* problem = option->take(option->takesValue ? words[++i] : std::string(), line);
        if (problem) {
            return problem;
        }
    }
    return "";
}
