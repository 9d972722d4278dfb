// Image sizes against a 32-bit address space: what a 32-bit host meets.
#include "HdrTestImages.h"

#include "ZqFile.h"
#include "ZqRefObject.h"

#include <gtest/gtest.h>

namespace {

const bool kThirtyTwoBit = sizeof(size_t) == 4;

} // namespace

TEST(ZqHDRReaderSize, FourGibibytesOfPixelsAreRefusedBeforeAllocating) {
    if (!kThirtyTwoBit) {
        GTEST_SKIP() << "size_t holds these sizes here";
    }
    // w x h x 8 bytes: exactly 2^32, past it, and far past it.
    for (const char* resolution : {"-Y 32768 +X 16384", "-Y 16385 +X 32768", "-Y 65536 +X 65536"}) {
        const Bytes bytes = Concat(Header(resolution), {1, 1, 1, 1});
        ZqMemoryFile file(bytes.data(), bytes.size());
        ZqHDRReader reader;
        unsigned made = ZqRefObject::GetMadeObjectCount();
        EXPECT_EQ(reader.ReadFile(file, nullptr), nullptr) << resolution;
        // Not even the pixel data object: its size would have wrapped.
        EXPECT_EQ(ZqRefObject::GetMadeObjectCount(), made) << resolution;
    }
}

TEST(ZqHDRReaderSize, SizesNoThirtyTwoBitProcessCanHoldFailCleanly) {
    if (!kThirtyTwoBit) {
        GTEST_SKIP() << "a 64-bit process may well hold these";
    }
    // Just under 4 GiB: within size_t, but not in an address space that
    // also holds the program.
    for (const char* resolution : {"-Y 16384 +X 32767", "-Y 8180 +X 65535", "-Y 7680 +X 65535"}) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            const Bytes bytes = Concat(Header(resolution), {1, 1, 1, 1});
            ZqMemoryFile file(bytes.data(), bytes.size());
            ZqHDRReader reader;
            unsigned objects = ZqRefObject::GetTotalObjectCount();
            EXPECT_EQ(reader.ReadFile(file, nullptr), nullptr) << resolution;
            EXPECT_EQ(ZqRefObject::GetTotalObjectCount(), objects) << resolution;
        }
    }
    // And the reader still decodes an ordinary image afterwards.
    const unsigned rows = 64;
    const unsigned columns = 300;
    const Bytes bytes = Concat(Header("-Y 64 +X 300"), RlePixels(rows, columns));
    ZqMemoryFile file(bytes.data(), bytes.size());
    ZqHDRReader reader;
    ZqPixelData* data = reader.ReadFile(file, nullptr);
    ASSERT_NE(data, nullptr);
    const unsigned char* pixels = data->GetPixels(0);
    for (unsigned index : {0u, 1u, 299u, 300u, rows * columns - 1}) {
        unsigned char rgbe[4];
        PixelFor(index, rgbe);
        std::vector<unsigned char> expected = HalfOf(rgbe);
        EXPECT_EQ(
            std::vector<unsigned char>(pixels + 8 * size_t(index), pixels + 8 * size_t(index) + 8),
            expected)
            << "pixel " << index;
    }
    delete data;
}
