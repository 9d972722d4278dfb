// The seam's 32-bit to 16-bit float conversion: the instruction path gives
// the scalar path's bits, and both the rule's answers.
#include "ZqPlatformTesting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace {
float FromBits(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
} // namespace

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
