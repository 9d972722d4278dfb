#include "ProcessorProbe.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <cpuid.h>
#define ZQ_HAVE_CPUID 1
#endif

namespace {

#if defined(ZQ_HAVE_CPUID)

bool Bit(unsigned word, unsigned bit) {
    return (word >> bit) & 1u;
}

// XCR0: which register states the system saves at a context switch. Only
// read when CPUID says the system has turned XGETBV on.
unsigned long long SavedRegisterStates() {
    unsigned low = 0, high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (static_cast<unsigned long long>(high) << 32) | low;
}

ProcessorFeatures Probe() {
    ProcessorFeatures features = {false, false};
    unsigned a = 0, b = 0, c = 0, d = 0;
    // Leaf 1, ECX: FMA 12, OSXSAVE 27, AVX 28, F16C 29.
    if (!__get_cpuid(1, &a, &b, &c, &d) || !Bit(c, 12) || !Bit(c, 27) || !Bit(c, 28) ||
        !Bit(c, 29)) {
        return features;
    }
    const unsigned long long states = SavedRegisterStates();
    const unsigned long long vectorStates = 0x6;  // SSE and the upper halves of YMM
    const unsigned long long avx512States = 0xE0; // opmasks and the upper ZMM registers
    if ((states & vectorStates) != vectorStates || !__get_cpuid_count(7, 0, &a, &b, &c, &d)) {
        return features;
    }
    // Leaf 7, EBX: AVX2 5, AVX-512 F 16, AVX-512 BW 30.
    features.avx2 = Bit(b, 5);
    features.avx512 =
        features.avx2 && Bit(b, 16) && Bit(b, 30) && (states & avx512States) == avx512States;
    return features;
}

#else

ProcessorFeatures Probe() {
    return {false, false};
}

#endif

} // namespace

const ProcessorFeatures& ThisProcessor() {
    static const ProcessorFeatures features = Probe();
    return features;
}
