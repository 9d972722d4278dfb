// A function that keeps an aligned vector on its stack, compiled twice: once
// trusting the caller for 16-byte stack alignment (GCC's default, as built
// without our 32-bit flags) and once with the flags every 32-bit Windows
// target gets. ZQ_PROBE_NAME names each copy.
#include <emmintrin.h>

extern "C" __attribute__((target("sse2"), noinline)) int ZQ_PROBE_NAME(int seed) {
    alignas(16) int lanes[4];
    // movdqa needs the alignment the compiler believes `lanes` has; the
    // compiler itself may choose an unaligned store.
    asm volatile("movdqa %1, %0" : "=m"(lanes) : "x"(_mm_set1_epi32(seed)));
    return lanes[0] + lanes[3];
}
