// 32-bit to 16-bit float conversion, with the processor's F16C instructions
// where present. Compiler-specific, not system-specific: shared by every
// platform.
#include "ZqPlatformTesting.h"

#include <cstdint>
#include <cstring>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <cpuid.h>
#include <immintrin.h>
#define ZQ_HAVE_F16C_PATH 1
#endif

namespace ZqPlatform {

unsigned short Float32To16Scalar(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    std::uint32_t sign = (bits >> 16) & 0x8000u;
    std::uint32_t magnitude = bits & 0x7FFFFFFFu;
    if (magnitude >= 0x7F800000u) {
        if (magnitude == 0x7F800000u) {
            return static_cast<unsigned short>(sign | 0x7C00u);
        }
        // NaN: quiet, with the top ten bits of the payload.
        return static_cast<unsigned short>(sign | 0x7E00u | ((magnitude >> 13) & 0x3FFu));
    }
    if (magnitude >= 0x477FF000u) { // rounds to 65536 or more
        return static_cast<unsigned short>(sign | 0x7C00u);
    }
    if (magnitude < 0x38800000u) {      // below 2^-14: subnormal or zero
        if (magnitude <= 0x33000000u) { // at most 2^-25, which ties to zero
            return static_cast<unsigned short>(sign);
        }
        std::uint32_t exponent = magnitude >> 23;
        std::uint32_t mantissa = (magnitude & 0x7FFFFFu) | 0x800000u;
        std::uint32_t shift = 126u - exponent;
        std::uint32_t kept = mantissa >> shift;
        std::uint32_t rest = mantissa & ((1u << shift) - 1u);
        std::uint32_t half = 1u << (shift - 1u);
        if (rest > half || (rest == half && (kept & 1u))) {
            ++kept;
        }
        return static_cast<unsigned short>(sign | kept);
    }
    std::uint32_t rebiased = magnitude - 0x38000000u; // exponent bias 127 -> 15
    rebiased += 0xFFFu + ((rebiased >> 13) & 1u);
    return static_cast<unsigned short>(sign | (rebiased >> 13));
}

#if defined(ZQ_HAVE_F16C_PATH)

namespace {
__attribute__((target("avx,f16c"))) void ConvertWithF16C(unsigned short* out, const float* in,
                                                         unsigned count) {
    unsigned i = 0;
    for (; i + 8 <= count; i += 8) {
        __m128i halves = _mm256_cvtps_ph(_mm256_loadu_ps(in + i), _MM_FROUND_TO_NEAREST_INT);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), halves);
    }
    for (; i < count; ++i) {
        __m128i half = _mm_cvtps_ph(_mm_set_ss(in[i]), _MM_FROUND_TO_NEAREST_INT);
        out[i] = static_cast<unsigned short>(_mm_extract_epi16(half, 0));
    }
}
} // namespace

bool HasFloat16Instructions() {
    // "avx" also tells that the system saves the wide registers; F16C itself
    // is CPUID leaf 1, ECX bit 29 (not every compiler names it).
    static const bool has = [] {
        unsigned a = 0, b = 0, c = 0, d = 0;
        return __builtin_cpu_supports("avx") && __get_cpuid(1, &a, &b, &c, &d) &&
               (c & (1u << 29)) != 0;
    }();
    return has;
}

void Float32To16Array(unsigned short* out, const float* in, unsigned count) {
    if (HasFloat16Instructions()) {
        ConvertWithF16C(out, in, count);
        return;
    }
    for (unsigned i = 0; i < count; ++i) {
        out[i] = Float32To16Scalar(in[i]);
    }
}

#else

bool HasFloat16Instructions() {
    return false;
}

void Float32To16Array(unsigned short* out, const float* in, unsigned count) {
    for (unsigned i = 0; i < count; ++i) {
        out[i] = Float32To16Scalar(in[i]);
    }
}

#endif

} // namespace ZqPlatform
