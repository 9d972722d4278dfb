#include "MemoryWatch.h"

#include <atomic>
#include <cerrno>
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

void NoteOutOfMemoryFromErrno() {
    if (errno == ENOMEM) {
        NoteOutOfMemory();
    }
}

MemoryWatch::MemoryWatch() : m_failuresBefore(g_failures) {
    errno = 0;
}

bool MemoryWatch::RanOut() const {
    return g_failures != m_failuresBefore || errno == ENOMEM;
}
