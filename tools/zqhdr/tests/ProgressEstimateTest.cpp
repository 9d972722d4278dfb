#include "ProgressEstimate.h"

#include <gtest/gtest.h>

TEST(ProgressEstimateTest, TimeLeftFromThePixelRateAndThePixelsStillToCome) {
    struct Case {
        const char* what;
        ProgressFigures figures;
        double left;
    };
    const Case cases[] = {
        {"nothing decoded yet", {2.0, 0, 100, 10, 40}, -1},
        {"no header read yet", {2.0, 5, 0, 0, 40}, -1},
        // 50 of 100 known pixels in 1 s; 30 bytes more at 10 pixels a byte.
        {"half of the first file", {1.0, 50, 100, 10, 40}, 7.0},
        {"every file begun", {2.0, 100, 200, 40, 40}, 2.0},
        {"all decoded", {4.0, 200, 200, 40, 40}, 0.0},
        // A failed file's undecoded pixels were taken off the known ones.
        {"decoded past the known", {1.0, 120, 100, 40, 40}, 0.0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(SecondsLeft(c.figures), c.left) << c.what;
    }
}

TEST(ProgressEstimateTest, SettlesAsAStreamOfEqualFilesGoesOn) {
    // Ten files of 100 bytes and 1000 pixels each, decoded at 100 pixels a
    // second: the estimate is the true time left at every step.
    for (int second = 1; second < 100; ++second) {
        ProgressFigures f;
        f.seconds = second;
        f.decoded = 100ull * second;
        const unsigned begun = unsigned(f.decoded / 1000) + 1;
        f.knownPixels = 1000ull * begun;
        f.knownBytes = 100u * begun;
        f.totalBytes = 1000;
        EXPECT_NEAR(SecondsLeft(f), 100.0 - second, 1e-9) << second;
    }
}
