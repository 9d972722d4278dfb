// Starting programs on POSIX systems with WinExec's answers.
#include "ZqPlatformInternal.h"

#include <cerrno>
#include <cstdlib>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace ZqPlatform {

namespace {

int ErrorToResult(int error) {
    switch (error) {
    case ENOENT:
        return LAUNCH_FILE_NOT_FOUND;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return LAUNCH_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
        return LAUNCH_ACCESS_DENIED;
    case ENOEXEC:
    case ELIBBAD:
    case ETXTBSY:
        return LAUNCH_BAD_FORMAT;
    default:
        return LAUNCH_OUT_OF_RESOURCES;
    }
}

// A program name without a separator is looked up in PATH, as execvp would,
// but without execvp's fallback of handing unknown formats to a shell.
std::string FindProgram(const std::string& name) {
    if (name.find('/') != std::string::npos) {
        return name;
    }
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
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
            return candidate;
        }
        start = end + 1;
    }
    return std::string();
}

// A missing folder on the way to the program is "path not found", as on
// Windows; a missing program in an existing folder is "file not found".
int NotFoundResult(const std::string& program) {
    size_t slash = program.rfind('/');
    if (slash == std::string::npos || slash == 0) {
        return LAUNCH_FILE_NOT_FOUND;
    }
    struct stat info;
    std::string folder = program.substr(0, slash);
    return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? LAUNCH_FILE_NOT_FOUND
                                                                     : LAUNCH_PATH_NOT_FOUND;
}

int Spawn(const std::vector<std::string>& words) {
    std::string program = FindProgram(words[0]);
    if (program.empty()) {
        return LAUNCH_FILE_NOT_FOUND;
    }
    std::vector<char*> argv;
    for (const std::string& word : words) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    int error = posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ);
    if (error != 0) {
        return error == ENOENT ? NotFoundResult(program) : ErrorToResult(error);
    }
    // Nothing waits for the program, yet someone must reap it when it ends.
    try {
        std::thread([child] {
            int status = 0;
            while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (...) {
        return LAUNCH_OUT_OF_RESOURCES;
    }
    return LAUNCH_STARTED;
}

} // namespace

int LaunchProgram(const char* commandLine, int showCommand) {
    if (Launcher* launcher = CurrentLauncher()) {
        return launcher->Launch(commandLine ? commandLine : "", showCommand);
    }
    std::vector<std::string> words = SplitCommandLine(commandLine);
    if (words.empty() || words[0].empty()) {
        return LAUNCH_FILE_NOT_FOUND;
    }
    try {
        return Spawn(words);
    } catch (...) {
        return LAUNCH_OUT_OF_RESOURCES;
    }
}

} // namespace ZqPlatform
