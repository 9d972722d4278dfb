// Large blocks and locks on Windows.
#include "ZqPlatformInternal.h"

#include <windows.h>

namespace ZqPlatform {

void* AllocateLarge(size_t bytes) {
    // Committed pages come zero-filled and are backed only when touched.
    return VirtualAlloc(nullptr, bytes ? bytes : 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

void FreeLarge(void* block, size_t) {
    if (block) {
        VirtualFree(block, 0, MEM_RELEASE);
    }
}

static_assert(sizeof(CRITICAL_SECTION) <= sizeof(LockStorage::bytes),
              "a critical section fits the lock storage");

void InitializeLock(LockStorage* lock) {
    InitializeCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(lock->bytes));
}

void DeleteLock(LockStorage* lock) {
    DeleteCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(lock->bytes));
}

void EnterLock(LockStorage* lock) {
    EnterCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(lock->bytes));
}

void LeaveLock(LockStorage* lock) {
    LeaveCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(lock->bytes));
}

} // namespace ZqPlatform
