// Starting programs on POSIX systems with WinExec's answers.
#include "ZqPlatformInternal.h"

#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <mutex>
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

// Waits for one started program, on a thread of its own, so that it leaves
// no zombie. The thread is made before the program is started: once started,
// nothing can fail any more.
class Reaper {
public:
    Reaper() : m_state(std::make_shared<State>()) {
        std::thread([state = m_state] {
            std::unique_lock<std::mutex> lock(state->mutex);
            state->ready.wait(lock, [&] { return state->told; });
            if (state->child > 0) {
                int status = 0;
                while (waitpid(state->child, &status, 0) < 0 && errno == EINTR) {
                }
            }
        }).detach();
    }
    Reaper(const Reaper&) = delete;
    Reaper& operator=(const Reaper&) = delete;
    // Tells the thread what to wait for; nothing when no program started.
    ~Reaper() {
        {
            std::lock_guard<std::mutex> lock(m_state->mutex);
            m_state->told = true;
        }
        m_state->ready.notify_one();
    }
    void Reap(pid_t child) {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        m_state->child = child;
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable ready;
        bool told = false;
        pid_t child = 0;
    };
    std::shared_ptr<State> m_state;
};

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

// `fd` moved above the standard descriptors, close-on-exec: a host started
// without some of them would otherwise get our descriptors in their place.
int AboveStandard(int fd) {
    if (fd < 0 || fd > STDERR_FILENO) {
        return fd;
    }
    int moved = fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    int error = errno;
    close(fd);
    errno = error;
    return moved;
}

// Opens /dev/null for the child's standard descriptors; false with errno set.
bool OpenNullDevices(int& input, int& output) {
    input = AboveStandard(open("/dev/null", O_RDONLY | O_CLOEXEC));
    output = input < 0 ? -1 : AboveStandard(open("/dev/null", O_WRONLY | O_CLOEXEC));
    if (output < 0) {
        int error = errno;
        if (input >= 0) {
            close(input);
        }
        errno = error;
        return false;
    }
    return true;
}

// Starts the program with /dev/null as standard input, and its output and
// errors where the host's go, or to /dev/null where the host has none. The
// child tells a failed exec through a pipe that a successful exec closes.
// posix_spawn tells it only where the child shares the parent's memory until
// the exec, which user-mode emulators (qemu) do not do: there a program that
// cannot start would count as started.
int StartChild(const std::string& program, char* const* argv, pid_t& child) {
    // Asked before anything of ours can take a free standard descriptor.
    bool hostHas[] = {true, fcntl(STDOUT_FILENO, F_GETFD) != -1,
                      fcntl(STDERR_FILENO, F_GETFD) != -1};
    int input = -1;
    int output = -1;
    if (!OpenNullDevices(input, output)) {
        return errno;
    }
    int report[2] = {-1, -1};
    if (pipe2(report, O_CLOEXEC) != 0 || (report[0] = AboveStandard(report[0])) < 0 ||
        (report[1] = AboveStandard(report[1])) < 0) {
        for (int fd : {input, output, report[0], report[1]}) {
            if (fd >= 0) {
                close(fd);
            }
        }
        return EAGAIN;
    }
    child = fork();
    if (child == 0) {
        bool ready = dup2(input, STDIN_FILENO) >= 0;
        for (int fd : {STDOUT_FILENO, STDERR_FILENO}) {
            ready = ready && (hostHas[fd] || dup2(output, fd) >= 0);
        }
        if (ready) {
            execve(program.c_str(), argv, environ);
        }
        int error = errno;
        ssize_t written = write(report[1], &error, sizeof error);
        static_cast<void>(written);
        _exit(127);
    }
    int forkError = errno;
    close(input);
    close(output);
    close(report[1]);
    int error = 0;
    ssize_t got = 0;
    if (child > 0) {
        while ((got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
        }
    }
    close(report[0]);
    if (child < 0) {
        return forkError;
    }
    if (got != static_cast<ssize_t>(sizeof error)) {
        return 0;
    }
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    return error;
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
    // Nothing waits for the program, yet someone must reap it when it ends.
    Reaper reaper;
    pid_t child = 0;
    int error = StartChild(program, argv.data(), child);
    if (error != 0) {
        return error == ENOENT ? NotFoundResult(program) : ErrorToResult(error);
    }
    reaper.Reap(child);
    return LAUNCH_STARTED;
}

} // namespace

int StartProgram(const char* commandLine, int) {
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
