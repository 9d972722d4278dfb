#include "RgbeConversion.h"
#include "HdrTestImages.h"
#include "RgbeKernels.h"
#include "ZqPlatform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>

namespace {
float FromBits(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// `count` pixels held as four planes of `planeSize` bytes each (red, green,
// blue and exponent bytes), through `path`'s 16-pixel kernel and then the
// per-pixel rule for the tail; pixel j goes to out + j * step, step 8 or -8.
void RgbePlanesToHalf(VectorPath path, const unsigned char* planes, unsigned planeSize,
                      unsigned count, unsigned char* out, int step) {
    unsigned j = 0;
    for (; j + 16 <= count; j += 16) {
#if defined(ZQ_HAVE_VECTOR_KERNELS)
        if (path == VectorPath::Avx512) {
            Avx512Kernels::PlanesToHalf16(planes, planeSize, j, out, step);
            continue;
        }
        if (path == VectorPath::Avx2) {
            Avx2Kernels::PlanesToHalf16(planes, planeSize, j, out, step);
            continue;
        }
#endif
        ScalarKernels::PlanesToHalf16(planes, planeSize, j, out, step);
    }
    for (; j < count; ++j) {
        PlanePixelToHalf(planes, planeSize, j, out, step);
    }
}
} // namespace

TEST(ConvertRGBE, TheRadianceRule) {
    unsigned char rgbe[4] = {128, 64, 0, 129};
    float channels[4];
    TestableReader::ConvertRGBEToFloat(rgbe, reinterpret_cast<unsigned char*>(channels));
    EXPECT_EQ(channels[0], 1.00390625f);
    EXPECT_EQ(channels[1], 0.50390625f);
    EXPECT_EQ(channels[2], 0.00390625f);
    EXPECT_EQ(channels[3], 1.0f);
    EXPECT_EQ(HalfOf(rgbe),
              (std::vector<unsigned char>{0x04, 0x3C, 0x08, 0x38, 0x00, 0x1C, 0x00, 0x3C}));

    unsigned char black[4] = {200, 17, 255, 0};
    TestableReader::ConvertRGBEToFloat(black, reinterpret_cast<unsigned char*>(channels));
    EXPECT_EQ(channels[0], 0.0f);
    EXPECT_EQ(channels[1], 0.0f);
    EXPECT_EQ(channels[2], 0.0f);
    EXPECT_EQ(channels[3], 1.0f);
    EXPECT_EQ(HalfOf(black), (std::vector<unsigned char>{0, 0, 0, 0, 0, 0, 0x00, 0x3C}));

    unsigned char zeroMantissa[4] = {0, 0, 0, 137}; // 0.5 * 2^1: the half applies to every mantissa
    TestableReader::ConvertRGBEToFloat(zeroMantissa, reinterpret_cast<unsigned char*>(channels));
    EXPECT_EQ(channels[0], 1.0f);
}

TEST(ConvertRGBE, VectorRowsMatchThePixelRuleForEveryMantissaAndExponent) {
    // Every (mantissa, exponent) pair, in every channel position.
    const unsigned count = 256 * 256;
    std::vector<unsigned char> rgbe(count * 4);
    std::vector<unsigned char> planes(count * 4);
    for (unsigned i = 0; i < count; ++i) {
        unsigned char m = static_cast<unsigned char>(i & 0xFF);
        unsigned char pixel[4] = {m, static_cast<unsigned char>(255 - m),
                                  static_cast<unsigned char>(m ^ 0x5A),
                                  static_cast<unsigned char>(i >> 8)};
        std::memcpy(&rgbe[4 * i], pixel, 4);
        for (unsigned k = 0; k < 4; ++k) {
            planes[k * count + i] = pixel[k];
        }
    }
    std::vector<unsigned char> expected(count * 8);
    for (unsigned i = 0; i < count; ++i) {
        RgbePixelToHalf(&rgbe[4 * i], &expected[8 * i]);
    }
    for (VectorPath path : {VectorPath::Scalar, VectorPath::Avx2, VectorPath::Avx512}) {
        if (!CanRun(path)) {
            continue;
        }
        SCOPED_TRACE(static_cast<int>(path));
        std::vector<unsigned char> forward(count * 8), backward(count * 8), fromPlanes(count * 8),
            fromPlanesBackward(count * 8);
        RgbeRowToHalf(path, rgbe.data(), count, forward.data(), 8);
        RgbeRowToHalf(path, rgbe.data(), count, backward.data() + (count - 1) * 8, -8);
        RgbePlanesToHalf(path, planes.data(), count, count, fromPlanes.data(), 8);
        RgbePlanesToHalf(path, planes.data(), count, count,
                         fromPlanesBackward.data() + (count - 1) * 8, -8);
        EXPECT_EQ(forward, expected);
        EXPECT_EQ(fromPlanes, expected);
        for (unsigned i = 0; i < count; ++i) {
            ASSERT_EQ(0, std::memcmp(&backward[8 * (count - 1 - i)], &expected[8 * i], 8)) << i;
            ASSERT_EQ(0, std::memcmp(&fromPlanesBackward[8 * (count - 1 - i)], &expected[8 * i], 8))
                << i;
        }
    }
}

TEST(Float16, ScalarAndInstructionPathsAgreeOnEveryClass) {
    std::vector<std::uint32_t> patterns = {
        0x00000000, 0x80000000, 0x00000001, 0x007FFFFF, 0x00800000, // zeros, float subnormals
        0x33000000, 0x33000001, 0x337FFFFF, 0x33800000, 0x33C00000, // around 2^-25 and 2^-24
        0x387FC000, 0x387FE000, 0x387FF000, 0x38800000,             // top of half subnormals
        0x3F800000, 0x3F801000, 0x3F802000, 0x3F803000, 0x3F800FFF, // ties to even around 1
        0x477FE000, 0x477FEFFF, 0x477FF000, 0x477FFFFF, 0x47800000, // 65504 and overflow
        0x7F7FFFFF, 0x7F800000, 0xFF800000,                         // max float, infinities
        0x7FC00000, 0x7F800001, 0x7FBFFFFF, 0xFFC12345, 0x7FFFE000, // NaNs
    };
    std::mt19937 random(1234);
    for (int i = 0; i < 1000000; ++i) {
        patterns.push_back(random());
    }
    std::vector<float> values;
    for (std::uint32_t bits : patterns) {
        values.push_back(FromBits(bits));
    }
    std::vector<unsigned short> fast(values.size());
    ZqPlatform::Float32To16Array(fast.data(), values.data(), static_cast<unsigned>(values.size()));
    for (size_t i = 0; i < values.size(); ++i) {
        ASSERT_EQ(ZqPlatform::Float32To16Scalar(values[i]), fast[i]) << std::hex << patterns[i];
    }
    // Known answers, whichever path ran.
    EXPECT_EQ(ZqPlatform::Float32To16Scalar(1.0f), 0x3C00);
    EXPECT_EQ(ZqPlatform::Float32To16Scalar(65504.0f), 0x7BFF);
    EXPECT_EQ(ZqPlatform::Float32To16Scalar(65520.0f), 0x7C00);
    EXPECT_EQ(ZqPlatform::Float32To16Scalar(-65520.0f), 0xFC00);
    EXPECT_EQ(ZqPlatform::Float32To16Scalar(std::ldexp(1.0f, -24)), 0x0001);
    EXPECT_EQ(ZqPlatform::Float32To16Scalar(std::ldexp(1.0f, -25)), 0x0000);
    EXPECT_EQ(ZqPlatform::Float32To16Scalar(std::ldexp(3.0f, -26)), 0x0001);
    EXPECT_EQ(ZqPlatform::Float32To16Scalar(std::ldexp(3.0f, -25)), 0x0002); // tie to even
    EXPECT_EQ(ZqPlatform::Float32To16Scalar(1.0f + std::ldexp(1.0f, -11)), 0x3C00);
    EXPECT_EQ(ZqPlatform::Float32To16Scalar(1.0f + std::ldexp(3.0f, -11)), 0x3C02);
}

// Every one of the 2^32 inputs; minutes without the conversion instructions,
// so it runs only when ZQ_EXHAUSTIVE_FLOAT16 is set.
TEST(Float16, ExhaustiveWhenAskedFor) {
    if (!std::getenv("ZQ_EXHAUSTIVE_FLOAT16")) {
        GTEST_SKIP() << "set ZQ_EXHAUSTIVE_FLOAT16=1 to compare all 2^32 inputs";
    }
    const unsigned block = 1u << 16;
    std::vector<float> values(block);
    std::vector<unsigned short> fast(block);
    for (std::uint64_t start = 0; start < (std::uint64_t(1) << 32); start += block) {
        for (unsigned i = 0; i < block; ++i) {
            values[i] = FromBits(static_cast<std::uint32_t>(start + i));
        }
        ZqPlatform::Float32To16Array(fast.data(), values.data(), block);
        for (unsigned i = 0; i < block; ++i) {
            if (ZqPlatform::Float32To16Scalar(values[i]) != fast[i]) {
                FAIL() << std::hex << start + i;
            }
        }
    }
}
