/* Put in front of a program with LD_PRELOAD: fails the N-th allocation alone
 * (ZQ_FAIL_ALLOCATION=N, counting from process start) and, apart, the N-th
 * write (ZQ_FAIL_WRITE=N), as the system does when memory or disk runs out.
 * Without N it only counts; ZQ_FAULT_COUNT_FILE names a file that gets
 * "ALLOCATIONS WRITES" at exit, so a driver knows how many points a run has.
 * glibc's own entry points do the real work, so nothing here allocates. */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <stdatomic.h>
#include <stdlib.h>
#include <sys/syscall.h>
#include <unistd.h>

extern void* __libc_malloc(size_t size);
extern void* __libc_calloc(size_t count, size_t size);
extern void* __libc_realloc(void* block, size_t size);
extern void* __libc_memalign(size_t alignment, size_t size);
extern void* __libc_valloc(size_t size);

/* What replaces the C library's own stays visible whatever the build hides. */
#define INTERPOSED __attribute__((visibility("default")))

static atomic_ulong g_allocations;
static atomic_ulong g_writes;

/* The N an environment variable names, or 0 for none; read without
 * allocating, since the first caller may be the loader's own. */
static unsigned long PointFrom(const char* name) {
    const char* text = getenv(name);
    unsigned long point = 0;
    for (; text && *text >= '0' && *text <= '9'; ++text) {
        point = point * 10 + (unsigned long)(*text - '0');
    }
    return point;
}

// Whether this call is the one to fail: the point named by `variable`,
// read once, counted by `calls`; a failure leaves `error` in errno.
static int Fails(atomic_long* point, const char* variable, atomic_ulong* calls, int error) {
    long wanted = atomic_load(point);
    if (wanted < 0) {
        wanted = (long)PointFrom(variable);
        atomic_store(point, wanted);
    }
    unsigned long count = atomic_fetch_add(calls, 1) + 1;
    if (wanted > 0 && count == (unsigned long)wanted) {
        errno = error;
        return 1;
    }
    return 0;
}

static int AllocationFails(void) {
    static atomic_long point = -1;
    return Fails(&point, "ZQ_FAIL_ALLOCATION", &g_allocations, ENOMEM);
}

static int WriteFails(void) {
    static atomic_long point = -1;
    return Fails(&point, "ZQ_FAIL_WRITE", &g_writes, ENOSPC);
}

INTERPOSED void* malloc(size_t size) {
    return AllocationFails() ? NULL : __libc_malloc(size);
}

INTERPOSED void* calloc(size_t count, size_t size) {
    return AllocationFails() ? NULL : __libc_calloc(count, size);
}

INTERPOSED void* realloc(void* block, size_t size) {
    return AllocationFails() ? NULL : __libc_realloc(block, size);
}

INTERPOSED void* memalign(size_t alignment, size_t size) {
    return AllocationFails() ? NULL : __libc_memalign(alignment, size);
}

INTERPOSED void* aligned_alloc(size_t alignment, size_t size) {
    return AllocationFails() ? NULL : __libc_memalign(alignment, size);
}

INTERPOSED void* valloc(size_t size) {
    return AllocationFails() ? NULL : __libc_valloc(size);
}

INTERPOSED int posix_memalign(void** block, size_t alignment, size_t size) {
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) {
        return EINVAL;
    }
    int saved = errno;
    void* found = AllocationFails() ? NULL : __libc_memalign(alignment, size);
    errno = saved;
    if (!found) {
        return ENOMEM;
    }
    *block = found;
    return 0;
}

INTERPOSED ssize_t write(int descriptor, const void* bytes, size_t count) {
    return WriteFails() ? -1 : syscall(SYS_write, descriptor, bytes, count);
}

INTERPOSED ssize_t pwrite(int descriptor, const void* bytes, size_t count, off_t offset) {
    return WriteFails() ? -1 : syscall(SYS_pwrite64, descriptor, bytes, count, offset);
}

static void AppendNumber(char* text, size_t* length, unsigned long value) {
    char digits[24];
    size_t count = 0;
    do {
        digits[count++] = (char)('0' + value % 10);
        value /= 10;
    } while (value);
    while (count) {
        text[(*length)++] = digits[--count];
    }
}

__attribute__((destructor)) static void TellCounts(void) {
    const char* path = getenv("ZQ_FAULT_COUNT_FILE");
    if (!path) {
        return;
    }
    char text[64];
    size_t length = 0;
    AppendNumber(text, &length, atomic_load(&g_allocations));
    text[length++] = ' ';
    AppendNumber(text, &length, atomic_load(&g_writes));
    text[length++] = '\n';
    int descriptor = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (descriptor >= 0) {
        (void)syscall(SYS_write, descriptor, text, length);
        close(descriptor);
    }
}
