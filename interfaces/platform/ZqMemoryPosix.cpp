// Large blocks and locks on POSIX systems.
#include "ZqPlatform.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <sys/mman.h>

namespace ZqPlatform {

namespace {
const size_t kHugePage = size_t(2) << 20;
} // namespace

void* AllocateLarge(size_t bytes) {
    if (bytes < kHugePage) {
        return std::calloc(bytes ? bytes : 1, 1);
    }
    if (bytes > SIZE_MAX - kHugePage) {
        return nullptr;
    }
    // Map a little more, then trim to a 2 MiB boundary so that whole huge
    // pages can back the block: far fewer page faults on first touch.
    size_t mapped = bytes + kHugePage;
    void* raw = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) {
        return nullptr;
    }
    uintptr_t start = reinterpret_cast<uintptr_t>(raw);
    uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
    size_t head = aligned - start;
    if (head) {
        munmap(raw, head);
    }
    size_t tail = mapped - head - bytes;
    if (tail) {
        munmap(reinterpret_cast<void*>(aligned + bytes), tail);
    }
#if defined(MADV_HUGEPAGE)
    madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
#endif
    return reinterpret_cast<void*>(aligned);
}

void FreeLarge(void* block, size_t bytes) {
    if (!block) {
        return;
    }
    if (bytes < kHugePage) {
        std::free(block);
    } else {
        munmap(block, bytes);
    }
}

static_assert(sizeof(std::mutex) <= sizeof(LockStorage::bytes), "a mutex fits the lock storage");
static_assert(alignof(std::mutex) <= alignof(LockStorage), "and is aligned for it");

void InitializeLock(LockStorage* lock) {
    new (lock->bytes) std::mutex;
}

void DeleteLock(LockStorage* lock) {
    std::launder(reinterpret_cast<std::mutex*>(lock->bytes))->~mutex();
}

void EnterLock(LockStorage* lock) {
    std::launder(reinterpret_cast<std::mutex*>(lock->bytes))->lock();
}

void LeaveLock(LockStorage* lock) {
    std::launder(reinterpret_cast<std::mutex*>(lock->bytes))->unlock();
}

} // namespace ZqPlatform
