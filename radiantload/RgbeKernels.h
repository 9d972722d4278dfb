#pragma once

// The inner steps of the decoders, one set for each instruction set: copying
// one run-length packet, converting 16 pixels held as planes, and converting
// a row of interleaved RGBE pixels. Every set gives the bytes of the
// per-pixel rule. The vector sets may only run where BestVectorPath allows.
#include "RgbeConversion.h"

#include <cstring>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
// GCC 12's AVX-512 header warns about its own deliberately undefined values.
#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#define ZQ_HAVE_VECTOR_KERNELS 1
#endif

// Largest packet: its count byte and 128 data bytes.
const unsigned kLargestPacket = 129;

// Pixel j of the planes (each planeSize bytes) to row + j * step: the scalar
// set's step, and every set's for the pixels after the last whole 16.
inline void PlanePixelToHalf(const unsigned char* planes, unsigned planeSize, unsigned j,
                             unsigned char* row, int step) {
    const unsigned char pixel[4] = {planes[j], planes[planeSize + j], planes[2 * planeSize + j],
                                    planes[3 * planeSize + j]};
    RgbePixelToHalf(pixel, row + static_cast<long>(j) * step);
}

struct ScalarKernels {
    // The packet at `in` (count byte first, count not 0) to `out`. The vector
    // sets read all of in[0..128] and write all of out[0..127].
    static void CopyPacket(unsigned char* out, const unsigned char* in) {
        unsigned count = in[0];
        if (count > 128) {
            std::memset(out, in[1], count - 128);
        } else {
            std::memcpy(out, in + 1, count);
        }
    }

    // Pixels j to j + 15; step 8 or -8.
    static void PlanesToHalf16(const unsigned char* planes, unsigned planeSize, unsigned j,
                               unsigned char* row, int step) {
        for (unsigned n = j; n < j + 16; ++n) {
            PlanePixelToHalf(planes, planeSize, n, row, step);
        }
    }

    // `count` interleaved pixels; pixel j to out + j * step, step 8 or -8.
    static void RowToHalf(const unsigned char* rgbe, unsigned count, unsigned char* out, int step) {
        for (unsigned j = 0; j < count; ++j) {
            RgbePixelToHalf(rgbe + 4 * j, out + static_cast<long>(j) * step);
        }
    }
};

#if defined(ZQ_HAVE_VECTOR_KERNELS)

// The vector sets compute (2m + 1) * 2^(e - 137), which is (m + 0.5) *
// 2^(e - 136). Exponents up to 103 give less than 2^-25 and exponents from
// 153 give at least 2^16: half precision turns those into 0 and infinity
// anyway, so the exponent may be clamped to 103..153, where the scale
// 2^(e - 137) is a normal float whose bits are (e - 10) << 23. An exponent
// byte of 0 lands on 0 as well.
#define ZQ_AVX2 __attribute__((target("avx2,fma,f16c")))
#define ZQ_AVX512 __attribute__((target("avx512f,avx512bw,avx2,fma,f16c")))

struct Avx2Kernels {
    ZQ_AVX2 static __m256 Scale(__m256i exponents) {
        __m256i clamped = _mm256_min_epi32(_mm256_max_epi32(exponents, _mm256_set1_epi32(103)),
                                           _mm256_set1_epi32(153));
        return _mm256_castsi256_ps(
            _mm256_slli_epi32(_mm256_sub_epi32(clamped, _mm256_set1_epi32(10)), 23));
    }

    ZQ_AVX2 static __m256 Channel(__m256i mantissas, __m256 scale) {
        __m256i odd =
            _mm256_add_epi32(_mm256_add_epi32(mantissas, mantissas), _mm256_set1_epi32(1));
        return _mm256_mul_ps(_mm256_cvtepi32_ps(odd), scale);
    }

    // Eight bytes into the low half of a vector (any alignment, 32-bit builds too).
    ZQ_AVX2 static __m128i LoadEight(const unsigned char* bytes) {
        return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bytes));
    }

    // Pixels j and j + 1, 8 halves each; reversed, the second pixel goes first.
    ZQ_AVX2 static void StorePair(__m128i pair, unsigned char* row, long j, int step) {
        unsigned char* target = step > 0 ? row + 8 * j : row - 8 * j - 8;
        if (step < 0) {
            pair = _mm_shuffle_epi32(pair, 0x4E);
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target), pair);
    }

    ZQ_AVX2 static void CopyPacket(unsigned char* out, const unsigned char* in) {
        __m256i* to = reinterpret_cast<__m256i*>(out);
        if (in[0] > 128) {
            __m256i run = _mm256_set1_epi8(static_cast<char>(in[1]));
            for (int k = 0; k < 4; ++k) {
                _mm256_storeu_si256(to + k, run);
            }
            return;
        }
        const __m256i* from = reinterpret_cast<const __m256i*>(in + 1);
        for (int k = 0; k < 4; ++k) {
            _mm256_storeu_si256(to + k, _mm256_loadu_si256(from + k));
        }
    }

    ZQ_AVX2 static void PlanesToHalf8(const unsigned char* planes, unsigned planeSize, unsigned j,
                                      unsigned char* row, int step) {
        const __m128i alpha = _mm_set1_epi16(0x3C00);
        __m256 scale = Scale(_mm256_cvtepu8_epi32(LoadEight(planes + 3 * size_t(planeSize) + j)));
        __m128i red = _mm256_cvtps_ph(Channel(_mm256_cvtepu8_epi32(LoadEight(planes + j)), scale),
                                      _MM_FROUND_TO_NEAREST_INT);
        __m128i green =
            _mm256_cvtps_ph(Channel(_mm256_cvtepu8_epi32(LoadEight(planes + planeSize + j)), scale),
                            _MM_FROUND_TO_NEAREST_INT);
        __m128i blue = _mm256_cvtps_ph(
            Channel(_mm256_cvtepu8_epi32(LoadEight(planes + 2 * size_t(planeSize) + j)), scale),
            _MM_FROUND_TO_NEAREST_INT);
        __m128i redGreenLow = _mm_unpacklo_epi16(red, green);
        __m128i redGreenHigh = _mm_unpackhi_epi16(red, green);
        __m128i blueAlphaLow = _mm_unpacklo_epi16(blue, alpha);
        __m128i blueAlphaHigh = _mm_unpackhi_epi16(blue, alpha);
        StorePair(_mm_unpacklo_epi32(redGreenLow, blueAlphaLow), row, j, step);
        StorePair(_mm_unpackhi_epi32(redGreenLow, blueAlphaLow), row, j + 2, step);
        StorePair(_mm_unpacklo_epi32(redGreenHigh, blueAlphaHigh), row, j + 4, step);
        StorePair(_mm_unpackhi_epi32(redGreenHigh, blueAlphaHigh), row, j + 6, step);
    }

    ZQ_AVX2 static void PlanesToHalf16(const unsigned char* planes, unsigned planeSize, unsigned j,
                                       unsigned char* row, int step) {
        PlanesToHalf8(planes, planeSize, j, row, step);
        PlanesToHalf8(planes, planeSize, j + 8, row, step);
    }

    ZQ_AVX2 static void RowToHalf(const unsigned char* rgbe, unsigned count, unsigned char* out,
                                  int step) {
        const __m256 one = _mm256_set1_ps(1.0f);
        unsigned j = 0;
        for (; j + 2 <= count; j += 2) {
            __m256i bytes = _mm256_cvtepu8_epi32(LoadEight(rgbe + 4 * j));
            __m256 values = Channel(bytes, Scale(_mm256_shuffle_epi32(bytes, 0xFF)));
            values = _mm256_blend_ps(values, one, 0x88); // alpha lanes
            StorePair(_mm256_cvtps_ph(values, _MM_FROUND_TO_NEAREST_INT), out, j, step);
        }
        ScalarKernels::RowToHalf(rgbe + 4 * j, count - j, out + static_cast<long>(j) * step, step);
    }
};

// Word indices that interleave red, green, blue and alpha halves (words 0,
// 16, 32 and 48 of the two sources are pixel 0's) into 8 pixels, first pixel
// `first`, in order or reversed.
struct InterleaveIndex {
    unsigned short words[32];
};
constexpr InterleaveIndex MakeInterleaveIndex(unsigned first, bool reversed) {
    InterleaveIndex index{};
    for (unsigned q = 0; q < 8; ++q) {
        unsigned pixel = reversed ? first + 7 - q : first + q;
        for (unsigned channel = 0; channel < 4; ++channel) {
            index.words[4 * q + channel] = static_cast<unsigned short>(16 * channel + pixel);
        }
    }
    return index;
}

struct Avx512Kernels {
    ZQ_AVX512 static __m512 Scale(__m512i exponents) {
        __m512i clamped = _mm512_min_epi32(_mm512_max_epi32(exponents, _mm512_set1_epi32(103)),
                                           _mm512_set1_epi32(153));
        return _mm512_castsi512_ps(
            _mm512_slli_epi32(_mm512_sub_epi32(clamped, _mm512_set1_epi32(10)), 23));
    }

    ZQ_AVX512 static __m512 Channel(__m512i mantissas, __m512 scale) {
        __m512i odd =
            _mm512_add_epi32(_mm512_add_epi32(mantissas, mantissas), _mm512_set1_epi32(1));
        return _mm512_mul_ps(_mm512_cvtepi32_ps(odd), scale);
    }

    ZQ_AVX512 static __m512i Widen(const unsigned char* sixteen) {
        return _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(sixteen)));
    }

    ZQ_AVX512 static __m512i LoadIndex(const InterleaveIndex& index) {
        return _mm512_loadu_si512(index.words);
    }

    // Runs and literals alternate unpredictably only where packets are short,
    // and there the branch costs less than computing both.
    ZQ_AVX512 static void CopyPacket(unsigned char* out, const unsigned char* in) {
        if (in[0] > 128) {
            __m512i run = _mm512_set1_epi8(static_cast<char>(in[1]));
            _mm512_storeu_si512(out, run);
            _mm512_storeu_si512(out + 64, run);
            return;
        }
        _mm512_storeu_si512(out, _mm512_loadu_si512(in + 1));
        _mm512_storeu_si512(out + 64, _mm512_loadu_si512(in + 65));
    }

    ZQ_AVX512 static void PlanesToHalf16(const unsigned char* planes, unsigned planeSize,
                                         unsigned j, unsigned char* row, int step) {
        static constexpr InterleaveIndex kForward[2] = {MakeInterleaveIndex(0, false),
                                                        MakeInterleaveIndex(8, false)};
        static constexpr InterleaveIndex kReversed[2] = {MakeInterleaveIndex(8, true),
                                                         MakeInterleaveIndex(0, true)};
        __m512 scale = Scale(Widen(planes + 3 * size_t(planeSize) + j));
        __m256i red = _mm512_cvtps_ph(Channel(Widen(planes + j), scale), _MM_FROUND_TO_NEAREST_INT);
        __m256i green = _mm512_cvtps_ph(Channel(Widen(planes + planeSize + j), scale),
                                        _MM_FROUND_TO_NEAREST_INT);
        __m256i blue = _mm512_cvtps_ph(Channel(Widen(planes + 2 * size_t(planeSize) + j), scale),
                                       _MM_FROUND_TO_NEAREST_INT);
        __m512i redGreen = _mm512_inserti64x4(_mm512_castsi256_si512(red), green, 1);
        __m512i blueAlpha = _mm512_inserti64x4(_mm512_set1_epi16(0x3C00), blue, 0);
        const InterleaveIndex* index = step > 0 ? kForward : kReversed;
        unsigned char* target = step > 0 ? row + 8 * size_t(j) : row - 8 * size_t(j) - 120;
        _mm512_storeu_si512(target,
                            _mm512_permutex2var_epi16(redGreen, LoadIndex(index[0]), blueAlpha));
        _mm512_storeu_si512(target + 64,
                            _mm512_permutex2var_epi16(redGreen, LoadIndex(index[1]), blueAlpha));
    }

    ZQ_AVX512 static void RowToHalf(const unsigned char* rgbe, unsigned count, unsigned char* out,
                                    int step) {
        const __m512 one = _mm512_set1_ps(1.0f);
        const __m512i reverse = _mm512_set_epi64(0, 1, 2, 3, 4, 5, 6, 7);
        unsigned j = 0;
        for (; j + 8 <= count; j += 8) {
            __m512i first = Widen(rgbe + 4 * j), second = Widen(rgbe + 4 * j + 16);
            __m512 low = Channel(first, Scale(_mm512_shuffle_epi32(first, _MM_PERM_DDDD)));
            __m512 high = Channel(second, Scale(_mm512_shuffle_epi32(second, _MM_PERM_DDDD)));
            low = _mm512_mask_blend_ps(0x8888, low, one); // alpha lanes
            high = _mm512_mask_blend_ps(0x8888, high, one);
            __m512i halves = _mm512_inserti64x4(
                _mm512_castsi256_si512(_mm512_cvtps_ph(low, _MM_FROUND_TO_NEAREST_INT)),
                _mm512_cvtps_ph(high, _MM_FROUND_TO_NEAREST_INT), 1);
            if (step > 0) {
                _mm512_storeu_si512(out + 8 * size_t(j), halves);
            } else {
                _mm512_storeu_si512(out - 8 * size_t(j) - 56,
                                    _mm512_permutexvar_epi64(reverse, halves));
            }
        }
        ScalarKernels::RowToHalf(rgbe + 4 * j, count - j, out + static_cast<long>(j) * step, step);
    }
};

#endif
