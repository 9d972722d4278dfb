#include "RgbeConversion.h"

#include "ZqPlatform.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define ZQ_HAVE_AVX2_PATH 1
#endif

void RgbePixelToFloat(const unsigned char* rgbe, float* out) {
    if (rgbe[3] == 0) {
        out[0] = out[1] = out[2] = 0.0f;
    } else {
        double scale = std::ldexp(1.0, rgbe[3] - 136);
        for (int channel = 0; channel < 3; ++channel) {
            out[channel] = static_cast<float>((rgbe[channel] + 0.5) * scale);
        }
    }
    out[3] = 1.0f;
}

void RgbePixelToHalf(const unsigned char* rgbe, unsigned char* out) {
    float channels[4];
    RgbePixelToFloat(rgbe, channels);
    for (int channel = 0; channel < 4; ++channel) {
        unsigned short half;
        ZqPlatform::Float32To16Array(&half, &channels[channel], 1);
        out[2 * channel] = static_cast<unsigned char>(half & 0xFF);
        out[2 * channel + 1] = static_cast<unsigned char>(half >> 8);
    }
}

namespace {

void RowByPixel(const unsigned char* rgbe, unsigned count, unsigned char* out, int step) {
    for (unsigned j = 0; j < count; ++j) {
        RgbePixelToHalf(rgbe + 4 * j, out + static_cast<long>(j) * step);
    }
}

void PlanesByPixel(const unsigned char* planes, unsigned planeSize, unsigned first, unsigned count,
                   unsigned char* out, int step) {
    for (unsigned j = first; j < count; ++j) {
        const unsigned char pixel[4] = {planes[j], planes[planeSize + j], planes[2 * planeSize + j],
                                        planes[3 * planeSize + j]};
        RgbePixelToHalf(pixel, out + static_cast<long>(j) * step);
    }
}

#if defined(ZQ_HAVE_AVX2_PATH)

// The vector path computes (2m + 1) * 2^(e - 137), which is (m + 0.5) *
// 2^(e - 136). Exponents up to 103 give less than 2^-25 and exponents from
// 153 give at least 2^16: half precision turns those into 0 and infinity
// anyway, so the exponent may be clamped to 103..153, where the scale
// 2^(e - 137) is a normal float whose bits are (e - 10) << 23. An exponent
// byte of 0 lands on 0 as well.
#define ZQ_AVX2 __attribute__((target("avx2,fma,f16c")))

ZQ_AVX2 inline __m256 Scale(__m256i exponents) {
    __m256i clamped = _mm256_min_epi32(_mm256_max_epi32(exponents, _mm256_set1_epi32(103)),
                                       _mm256_set1_epi32(153));
    return _mm256_castsi256_ps(
        _mm256_slli_epi32(_mm256_sub_epi32(clamped, _mm256_set1_epi32(10)), 23));
}

ZQ_AVX2 inline __m256 Channel(__m256i mantissas, __m256 scale) {
    __m256i odd = _mm256_add_epi32(_mm256_add_epi32(mantissas, mantissas), _mm256_set1_epi32(1));
    return _mm256_mul_ps(_mm256_cvtepi32_ps(odd), scale);
}

// Two pixels of 8 halves each; reversed, the second pixel goes first. The
// output is written once and not read back soon, so aligned pairs bypass the
// cache (no read of the old contents before the write).
ZQ_AVX2 inline void StorePair(__m128i pair, unsigned char* out, long j, int step) {
    unsigned char* target = step > 0 ? out + 8 * j : out - 8 * j - 8;
    if (step < 0) {
        pair = _mm_shuffle_epi32(pair, 0x4E);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target), pair);
}

// Eight bytes into the low half of a vector (any alignment, 32-bit builds too).
ZQ_AVX2 inline __m128i LoadEight(const unsigned char* bytes) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bytes));
}

ZQ_AVX2 void RowAvx2(const unsigned char* rgbe, unsigned count, unsigned char* out, int step) {
    const __m256 one = _mm256_set1_ps(1.0f);
    unsigned j = 0;
    for (; j + 2 <= count; j += 2) {
        __m256i bytes = _mm256_cvtepu8_epi32(LoadEight(rgbe + 4 * j));
        __m256 values = Channel(bytes, Scale(_mm256_shuffle_epi32(bytes, 0xFF)));
        values = _mm256_blend_ps(values, one, 0x88); // alpha lanes
        StorePair(_mm256_cvtps_ph(values, _MM_FROUND_TO_NEAREST_INT), out, j, step);
    }
    _mm_sfence();
    RowByPixel(rgbe + 4 * j, count - j, out + static_cast<long>(j) * step, step);
}

ZQ_AVX2 void PlanesAvx2(const unsigned char* planes, unsigned planeSize, unsigned count,
                        unsigned char* out, int step) {
    const __m128i alpha = _mm_set1_epi16(0x3C00);
    unsigned j = 0;
    for (; j + 8 <= count; j += 8) {
        __m256 scale = Scale(_mm256_cvtepu8_epi32(LoadEight(planes + 3 * planeSize + j)));
        __m128i red = _mm256_cvtps_ph(Channel(_mm256_cvtepu8_epi32(LoadEight(planes + j)), scale),
                                      _MM_FROUND_TO_NEAREST_INT);
        __m128i green =
            _mm256_cvtps_ph(Channel(_mm256_cvtepu8_epi32(LoadEight(planes + planeSize + j)), scale),
                            _MM_FROUND_TO_NEAREST_INT);
        __m128i blue = _mm256_cvtps_ph(
            Channel(_mm256_cvtepu8_epi32(LoadEight(planes + 2 * planeSize + j)), scale),
            _MM_FROUND_TO_NEAREST_INT);
        __m128i redGreenLow = _mm_unpacklo_epi16(red, green);
        __m128i redGreenHigh = _mm_unpackhi_epi16(red, green);
        __m128i blueAlphaLow = _mm_unpacklo_epi16(blue, alpha);
        __m128i blueAlphaHigh = _mm_unpackhi_epi16(blue, alpha);
        StorePair(_mm_unpacklo_epi32(redGreenLow, blueAlphaLow), out, j, step);
        StorePair(_mm_unpackhi_epi32(redGreenLow, blueAlphaLow), out, j + 2, step);
        StorePair(_mm_unpacklo_epi32(redGreenHigh, blueAlphaHigh), out, j + 4, step);
        StorePair(_mm_unpackhi_epi32(redGreenHigh, blueAlphaHigh), out, j + 6, step);
    }
    _mm_sfence();
    PlanesByPixel(planes, planeSize, j, count, out, step);
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") &&
                            ZqPlatform::HasFloat16Instructions();
    return has;
}

#endif

} // namespace

void RgbeRowToHalf(const unsigned char* rgbe, unsigned count, unsigned char* out, int step) {
#if defined(ZQ_HAVE_AVX2_PATH)
    if (HasAvx2()) {
        RowAvx2(rgbe, count, out, step);
        return;
    }
#endif
    RowByPixel(rgbe, count, out, step);
}

void RgbePlanesToHalf(const unsigned char* planes, unsigned planeSize, unsigned count,
                      unsigned char* out, int step) {
#if defined(ZQ_HAVE_AVX2_PATH)
    if (HasAvx2()) {
        PlanesAvx2(planes, planeSize, count, out, step);
        return;
    }
#endif
    PlanesByPixel(planes, planeSize, 0, count, out, step);
}
