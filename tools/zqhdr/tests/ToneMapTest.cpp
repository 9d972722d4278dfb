// The preview's tone curve against values worked out by hand from
// x / (1 + x) and the sRGB encoding.
#include "ToneMap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct CurvePoint {
    uint16_t half;       // the value's bits
    unsigned char byte0; // at exposure 0
    unsigned char byteM; // at exposure -2.5
};

const CurvePoint kCurve[] = {
    {0x0000, 0, 0},     // 0
    {0x0001, 0, 0},     // the smallest subnormal
    {0x1419, 3, 1},     // about 0.001: the curve's linear part
    {0x211F, 25, 6},    // about 0.01
    {0x2E66, 85, 36},   // about 0.1
    {0x3400, 124, 58},  // 0.25
    {0x3800, 156, 80},  // 0.5
    {0x3C00, 188, 108}, // 1
    {0x4000, 213, 140}, // 2
    {0x4400, 231, 172}, // 4
    {0x4C00, 248, 223}, // 16
    {0x63D0, 255, 254}, // 1000
    {0x7BFF, 255, 255}, // 65504, the largest finite half
    {0x7C00, 255, 255}, // infinity: white
    {0xFC00, 0, 0},     // minus infinity
    {0xBC00, 0, 0},     // -1
    {0x7E00, 0, 0},     // NaN
};

// One pixel per point, the value in all three colour channels.
std::vector<unsigned char> Pixels() {
    std::vector<unsigned char> halves;
    for (const CurvePoint& point : kCurve) {
        const uint16_t pixel[4] = {point.half, point.half, point.half, 0x3C00};
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(pixel);
        halves.insert(halves.end(), bytes, bytes + sizeof pixel);
    }
    return halves;
}

std::vector<unsigned char> Mapped(double exposure) {
    const std::vector<unsigned char> halves = Pixels();
    std::vector<unsigned char> rgb(3 * (halves.size() / 8));
    ToneMap tone(exposure);
    tone.Row(halves.data(), halves.size() / 8, rgb.data());
    return rgb;
}

} // namespace

TEST(ToneMapTest, FollowsTheCurveAtTwoExposures) {
    const std::vector<unsigned char> at0 = Mapped(0.0), atMinus = Mapped(-2.5);
    for (size_t i = 0; i < sizeof kCurve / sizeof kCurve[0]; ++i) {
        for (size_t c = 0; c < 3; ++c) {
            EXPECT_EQ(at0[3 * i + c], kCurve[i].byte0) << std::hex << kCurve[i].half << " " << c;
            EXPECT_EQ(atMinus[3 * i + c], kCurve[i].byteM)
                << std::hex << kCurve[i].half << " " << c;
        }
    }
}

TEST(ToneMapTest, InfinityStaysWhiteWhenTheScaleUnderflows) {
    // 2^-150 is zero as a float: every finite value goes black, infinity not.
    const std::vector<unsigned char> rgb = Mapped(-150.0);
    for (size_t i = 0; i < sizeof kCurve / sizeof kCurve[0]; ++i) {
        EXPECT_EQ(rgb[3 * i], kCurve[i].half == 0x7C00 ? 255 : 0) << std::hex << kCurve[i].half;
    }
}
