#include "HelpText.h"

#include <cstdio>

namespace {

struct CommandHelp {
    const char* command;
    const char* text;
};

const CommandHelp kCommands[] = {
    {"plugins", "zqhost plugins [--plugins DIR]\n"
                "  Lists every plug-in of every module in DIR: module file, name, version,\n"
                "  class name and default-info type, tab-separated.\n"},
    {"run", "zqhost run SCRIPT [--scene FILE] [--plugins DIR] [--save-scene FILE]\n"
            "                  [--save-dialogs DIR] [--registry FILE]\n"
            "  Offers each step of the JSON script to the plug-ins in order and runs it with\n"
            "  the first that accepts it; every step runs and is reported on stderr, with the\n"
            "  reasons of the plug-ins that refused a step no plug-in accepts. --save-scene\n"
            "  writes the scene as the steps left it, --save-dialogs every dialog shown,\n"
            "  --registry names the .reg file that stands for the registry.\n"},
    {"options", "zqhost options NAME [--plugins DIR]\n"
                "  Shows the options dialog of the plug-in with that name (any letter case).\n"},
    {"scene", "zqhost scene FILE\n"
              "  Prints a scene file as a tree, hidden objects marked, then its textures.\n"},
    {"help", "zqhost help [COMMAND]     also: zqhost --help, zqhost COMMAND --help\n"
             "  Shows what the commands do.\n"},
};

} // namespace

bool PrintHelp(const std::string& command) {
    bool shown = false;
    for (const CommandHelp& help : kCommands) {
        if (command.empty() || command == help.command) {
            std::printf("%s%s", shown ? "\n" : "", help.text);
            shown = true;
        }
    }
    if (shown && command.empty()) {
        std::printf("\nzqhost --version prints the version. Exit status: 0 success, 1 a step or "
                    "the save failed,\n2 a usage error or an input that cannot be read.\n");
    }
    return shown;
}

void PrintVersion() {
    std::printf("zqhost %s\n", ZQ_VERSION);
}
