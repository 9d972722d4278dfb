#include "ToolPlatform.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <initializer_list>
#include <pthread.h>
#include <unistd.h>

namespace ToolPlatform {

namespace {

bool Failed(std::string& error) {
    error = std::strerror(errno == 0 ? EIO : errno);
    return false;
}

// Writes through `put(next, left, done)` until every byte is written.
template <typename Put>
bool WriteEvery(const void* bytes, size_t count, std::string& error, Put put) {
    const auto* next = static_cast<const unsigned char*>(bytes);
    uint64_t done = 0;
    while (count > 0) {
        ssize_t written = put(next, count, done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return Failed(error);
        }
        next += written;
        count -= size_t(written);
        done += uint64_t(written);
    }
    return true;
}

} // namespace

FileHandle OpenForReading(const std::string& path, std::string& error) {
    int file;
    do {
        file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (file < 0 && errno == EINTR);
    return file >= 0 || Failed(error) ? file : kNoFile;
}

FileHandle CreateNew(const std::string& path, std::string& error) {
    int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return file >= 0 || Failed(error) ? file : kNoFile;
}

FileHandle StandardOutput(std::string& error) {
    int file = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    return file >= 0 || Failed(error) ? file : kNoFile;
}

long ReadSome(FileHandle file, void* buffer, size_t bytes, std::string& error) {
    for (;;) {
        ssize_t got = ::read(file, buffer, bytes);
        if (got >= 0) {
            return static_cast<long>(got);
        }
        if (errno != EINTR) {
            Failed(error);
            return -1;
        }
    }
}

bool WriteAll(FileHandle file, const void* bytes, size_t count, std::string& error) {
    return WriteEvery(bytes, count, error,
                      [file](const unsigned char* next, size_t left, uint64_t) {
                          return ::write(file, next, left);
                      });
}

bool WriteAllAt(FileHandle file, uint64_t offset, const void* bytes, size_t count,
                std::string& error) {
    return WriteEvery(bytes, count, error,
                      [file, offset](const unsigned char* next, size_t left, uint64_t done) {
                          return ::pwrite(file, next, left, static_cast<off_t>(offset + done));
                      });
}

bool Close(FileHandle file, std::string& error) {
    return ::close(file) == 0 || Failed(error);
}

bool CanReadFolder(const std::string& path) {
    return ::access(path.c_str(), R_OK | X_OK) == 0;
}

bool StandardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

void IgnoreWriteSignals() {
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

// SIGUSR1 wakes the waiting thread; it is held back with the stop signals.
const int kWakeSignal = SIGUSR1;

struct StopSignals::Sets {
    sigset_t stops;
    sigset_t waited; // the stop signals and the wake-up
    sigset_t previous;
    pthread_t waiter;
};

StopSignals::StopSignals() : m_sets(std::make_unique<Sets>()) {
    sigemptyset(&m_sets->stops);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current = {};
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
            sigaddset(&m_sets->stops, signal);
        }
    }
    m_sets->waited = m_sets->stops;
    sigaddset(&m_sets->waited, kWakeSignal);
    m_sets->waiter = pthread_self();
    // Threads started from here on inherit the mask.
    pthread_sigmask(SIG_BLOCK, &m_sets->waited, &m_sets->previous);
}

StopSignals::~StopSignals() {
    // A wake-up that came after the last wait must not reach the default
    // action, which ends the process.
    sigset_t wake;
    sigemptyset(&wake);
    sigaddset(&wake, kWakeSignal);
    const timespec now = {0, 0};
    while (sigtimedwait(&wake, nullptr, &now) > 0) {
    }
    pthread_sigmask(SIG_SETMASK, &m_sets->previous, nullptr);
}

int StopSignals::WaitForStop(unsigned milliseconds) {
    const timespec wait = {static_cast<time_t>(milliseconds / 1000),
                           static_cast<long>(milliseconds % 1000) * 1000 * 1000};
    int signal = sigtimedwait(&m_sets->waited, nullptr, &wait);
    if (signal == kWakeSignal) {
        // Taken before a stop signal of a higher number that is also there.
        const timespec now = {0, 0};
        signal = sigtimedwait(&m_sets->stops, nullptr, &now);
    }
    return signal > 0 ? signal : 0;
}

void StopSignals::Wake() {
    pthread_kill(m_sets->waiter, kWakeSignal);
}

void StopSignals::EndBy(int signal) {
    std::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    std::raise(signal);
    std::_Exit(128 + signal);
}

} // namespace ToolPlatform
