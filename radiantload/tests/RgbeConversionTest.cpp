#include "RgbeConversion.h"
#include "HdrTestImages.h"
#include "RgbeKernels.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {
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
