#pragma once

#include <map>
#include <string>
#include <vector>

// zqhost's arguments: a command, its positional arguments and its --options
// (each option takes one value). Throws HostError on a usage error.
struct CommandLine {
    std::string command;
    std::vector<std::string> arguments;
    std::map<std::string, std::string> options;

    std::string Option(const std::string& name, const std::string& fallback = "") const;
};

CommandLine ParseCommandLine(int argc, char** argv);

extern const char* const kUsage;
