#pragma once

// Calls a virtual operation by its slot number in the object's table, the
// way a caller compiled against another copy of the headers does.
#include <cstring>

// Entries the virtual destructor takes at the head of the table: the
// complete-object and the deleting destructor, under the C++ ABI that GCC
// and mingw-w64 use.
const unsigned kDestructorEntries = 2;

// Member functions' calling convention, for calls through plain pointers.
#if defined(_WIN32) && defined(__i386__)
#define ZQ_MEMBER_CALL __attribute__((thiscall))
#else
#define ZQ_MEMBER_CALL
#endif

// The function in slot `slot` of `object`'s virtual table.
template <class Function> Function Slot(const void* object, unsigned slot) {
    const void* const* table;
    std::memcpy(&table, object, sizeof table);
    Function function;
    std::memcpy(&function, &table[slot], sizeof function);
    return function;
}
