#pragma once

#include <string>

// Whether memory ran out while the tool worked. The reader answers only
// null, and libraries tell of it in words of their own or not at all, so the
// tool notes every failed allocation itself: C++ allocations through the new
// handler (the reader's nothrow ones too), C allocators of the tool's own
// through NoteOutOfMemory.
void WatchAllocations();
void NoteOutOfMemory();
// How many allocations failed so far.
unsigned long long OutOfMemoryNotes();
// Notes a C library's failed allocation from errno (ENOMEM, as malloc leaves
// it), before later calls into a library that resets errno lose it.
void NoteOutOfMemoryFromErrno();
// Notes a library's own account of a failed allocation ("Failed to allocate
// memory...", "std::bad_alloc"): aligned allocations fail without errno.
void NoteOutOfMemoryIfSaid(const std::string& libraryText);

// Taken when a piece of work starts; asked, when it failed, whether memory
// ran out meanwhile on any thread, or a C library on this one said so
// (errno ENOMEM, as malloc leaves it).
class MemoryWatch {
public:
    MemoryWatch();
    bool RanOut() const;

private:
    unsigned long long m_failuresBefore;
};
