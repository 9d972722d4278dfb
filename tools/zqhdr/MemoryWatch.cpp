#include "MemoryWatch.h"

#include <atomic>
#include <cerrno>
#include <initializer_list>
#include <new>

namespace {

std::atomic<unsigned long long> g_failures{0};

// Called by operator new each time the allocation it asked for failed;
// throwing ends its retries, as if there were no handler.
void OnAllocationFailure() {
    NoteOutOfMemory();
    throw std::bad_alloc();
}

} // namespace

void WatchAllocations() {
    std::set_new_handler(OnAllocationFailure);
}

void NoteOutOfMemory() {
    ++g_failures;
}

unsigned long long OutOfMemoryNotes() {
    return g_failures;
}

void NoteOutOfMemoryFromErrno() {
    if (errno == ENOMEM) {
        NoteOutOfMemory();
    }
}

void NoteOutOfMemoryIfSaid(const std::string& libraryText) {
    for (const char* words : {"allocate memory", "bad_alloc", "out of memory",
                              "insufficient memory", "Cannot allocate"}) {
        if (libraryText.find(words) != std::string::npos) {
            NoteOutOfMemory();
            return;
        }
    }
}

MemoryWatch::MemoryWatch() : m_failuresBefore(g_failures) {
    errno = 0;
}

bool MemoryWatch::RanOut() const {
    return g_failures != m_failuresBefore || errno == ENOMEM;
}
