// zqhost: the stand-in plug-in host. Loads plug-in modules and runs scripts
// over a scene file.
#include "CommandLine.h"
#include "Commands.h"
#include "HelpText.h"
#include "HostError.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <new>
#include <string>

namespace {

// --help anywhere after a command asks for that command's help.
bool AsksForHelp(int argc, char** argv) {
    for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "--help") {
            return true;
        }
    }
    return false;
}

int Help(const std::string& command) {
    if (PrintHelp(command)) {
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    std::fprintf(stderr, "zqhost: no command \"%s\"\n%s", command.c_str(), kUsage);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
#if defined(SIGXFSZ)
    // A file size limit fails the save like any write error, rather than
    // ending the process with the file cut short.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    std::string first = argc > 1 ? argv[1] : "";
    if (first == "--version") {
        PrintVersion();
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    if (first == "--help" || (first == "help" && argc <= 3)) {
        return Help(argc == 3 ? argv[2] : "");
    }
    if (argc > 2 && AsksForHelp(argc, argv)) {
        return Help(first);
    }
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
    } catch (const std::exception& problem) {
        // Whatever the reading of the inputs did not turn into a HostError
        // happened while the steps ran or the scene was saved.
        std::fprintf(stderr, "zqhost: %s\n", problem.what());
        return 1;
    }
}
