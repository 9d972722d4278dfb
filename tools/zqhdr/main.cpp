// zqhdr: looks into and converts Radiance RGBE (.hdr) images with the
// engine's HDR reader. `zqhdr --help` tells how.
#include "Commands.h"
#include "MemoryWatch.h"
#include "Messages.h"

#include <cstdio>
#include <new>
#include <string>
#include <vector>

namespace {

bool AsksForHelp(const std::vector<std::string>& words) {
    for (const std::string& word : words) {
        if (word == "--help" || word == "-h") {
            return true;
        }
    }
    return false;
}

int Run(const std::vector<std::string>& words) {
    if (words.empty()) {
        return Usage("", "no command given");
    }
    std::string command = words[0];
    std::vector<std::string> rest(words.begin() + 1, words.end());
    if (command == "--version") {
        std::printf("zqhdr %s\n", ZQ_VERSION);
        return 0;
    }
    if (command == "help" || command == "--help" || command == "-h") {
        const char* help = HelpText(rest.empty() ? "" : rest[0]);
        if (!help) {
            return Usage("", "no such command: " + rest[0]);
        }
        std::fputs(help, stdout);
        return 0;
    }
    if (HelpText(command) && AsksForHelp(rest)) {
        std::fputs(HelpText(command), stdout);
        return 0;
    }
    if (command == "info") {
        return RunInfo(rest);
    }
    if (command == "convert") {
        return RunConvert(rest);
    }
    if (command == "batch") {
        return RunBatch(rest);
    }
    return Usage("", "unknown command " + command);
}

} // namespace

int main(int argc, char** argv) {
    WatchAllocations();
    int status = 0;
    try {
        status = Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "zqhdr: out of memory\n");
        return 1;
    }
    // What `info` and `help` print is their result: when it cannot be
    // written (a full disk, say), the command failed.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        Fail("standard output", "cannot be written");
        return status == 0 ? 1 : status;
    }
    return status;
}
