// The PATH lookup of the POSIX launcher.
#include "ZqPlatformInternal.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace ZqPlatform {

// A program name without a separator is looked up in PATH, as execvp would:
// the first executable file of that name, else the first file of that name
// (which then fails as not executable). Unlike execvp, unknown formats are
// never handed to a shell.
std::string FindProgram(const std::string& name) {
    if (name.find('/') != std::string::npos) {
        return name;
    }
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::string notExecutable;
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos) {
            end = folders.size();
        }
        std::string folder = folders.substr(start, end - start);
        std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        struct stat info;
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            if (access(candidate.c_str(), X_OK) == 0) {
                return candidate;
            }
            if (notExecutable.empty()) {
                notExecutable = candidate;
            }
        }
        start = end + 1;
    }
    return notExecutable;
}

} // namespace ZqPlatform
