// The reader's own look at the processor agrees with the compiler runtime's
// and with the seam's check of the conversion instructions.
#include "ProcessorProbe.h"
#include "RgbeConversion.h"
#include "ZqPlatformTesting.h"

#include <gtest/gtest.h>

TEST(ProcessorProbe, AgreesWithTheCompilerRuntime) {
    const ProcessorFeatures& processor = ThisProcessor();
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") &&
                      ZqPlatform::HasFloat16Instructions();
    const bool avx512 =
        avx2 && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
    EXPECT_EQ(processor.avx2, avx2);
    EXPECT_EQ(processor.avx512, avx512);
#else
    EXPECT_FALSE(processor.avx2);
    EXPECT_FALSE(processor.avx512);
#endif
    EXPECT_EQ(CanRun(VectorPath::Avx2), processor.avx2);
    EXPECT_EQ(CanRun(VectorPath::Avx512), processor.avx512);
    EXPECT_TRUE(CanRun(VectorPath::Scalar));
}
