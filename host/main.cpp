// zqhost: the stand-in plug-in host. Loads plug-in modules and runs scripts
// over a scene file.
#include "CommandLine.h"
#include "Commands.h"
#include "HostError.h"

#include <cstdio>
#include <new>

int main(int argc, char** argv) {
    try {
        CommandLine line;
        try {
            line = ParseCommandLine(argc, argv);
        } catch (const HostError& problem) {
            std::fprintf(stderr, "zqhost: %s\n%s", problem.what(), kUsage);
            return 2;
        }
        if (line.command == "plugins") {
            return ListPlugins(line);
        }
        if (line.command == "run") {
            return RunScript(line);
        }
        if (line.command == "options") {
            return ShowOptions(line);
        }
        return ShowScene(line);
    } catch (const HostError& problem) {
        std::fprintf(stderr, "zqhost: %s\n", problem.what());
        return 2;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "zqhost: out of memory\n");
        return 1;
    }
}
