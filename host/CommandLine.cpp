#include "CommandLine.h"

#include "HostError.h"

#include <set>

const char* const kUsage =
    "usage: zqhost plugins [--plugins DIR]\n"
    "       zqhost run SCRIPT [--scene FILE] [--plugins DIR] [--save-scene FILE]\n"
    "                         [--save-dialogs DIR] [--registry FILE]\n"
    "       zqhost options NAME [--plugins DIR]\n"
    "       zqhost scene FILE\n"
    "       zqhost help [COMMAND] | --help | --version\n";

namespace {

struct CommandShape {
    size_t arguments;
    std::set<std::string> options;
};

const std::map<std::string, CommandShape>& Commands() {
    static const std::map<std::string, CommandShape> commands = {
        {"plugins", {0, {"--plugins"}}},
        {"run", {1, {"--scene", "--plugins", "--save-scene", "--save-dialogs", "--registry"}}},
        {"options", {1, {"--plugins"}}},
        {"scene", {1, {}}},
    };
    return commands;
}

} // namespace

std::string CommandLine::Option(const std::string& name, const std::string& fallback) const {
    auto found = options.find(name);
    return found == options.end() ? fallback : found->second;
}

CommandLine ParseCommandLine(int argc, char** argv) {
    if (argc < 2) {
        throw HostError("no command given");
    }
    CommandLine line;
    line.command = argv[1];
    auto shape = Commands().find(line.command);
    if (shape == Commands().end()) {
        throw HostError("unknown command \"" + line.command + "\"");
    }
    for (int i = 2; i < argc; ++i) {
        std::string word = argv[i];
        if (word.rfind("--", 0) != 0) {
            line.arguments.push_back(word);
            continue;
        }
        if (!shape->second.options.count(word)) {
            throw HostError("unknown option " + word + " for " + line.command);
        }
        if (i + 1 >= argc) {
            throw HostError("option " + word + " needs a value");
        }
        line.options[word] = argv[++i];
    }
    if (line.arguments.size() != shape->second.arguments) {
        throw HostError(line.command + " takes " + std::to_string(shape->second.arguments) +
                        " argument(s), " + std::to_string(line.arguments.size()) + " given");
    }
    return line;
}
