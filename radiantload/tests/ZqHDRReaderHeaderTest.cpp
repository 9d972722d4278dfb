#include "HdrTestImages.h"

#include <gtest/gtest.h>

TEST(ZqHDRReader, CanReadFileByExtension) {
    ZqHDRReader reader;
    struct Case {
        const char* extension;
        bool accepted;
    } cases[] = {{".hdr", true},   {".HDR", true},   {".Hdr", true},
                 {".hDr", true},   {"hdr", false},   {"", false},
                 {".hdr ", false}, {".hdri", false}, {nullptr, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(reader.CanReadFile(c.extension), c.accepted)
            << (c.extension ? c.extension : "null");
    }
}

TEST(ZqHDRReader, HeaderAndResolutionLines) {
    struct Case {
        std::string file;
        bool accepted;
        unsigned width, height;
        bool leftToRight, topToBottom;
    } cases[] = {
        {Header("-Y 512 +X 768"), true, 768, 512, true, true},
        {Header("+Y 512 -X 768"), true, 768, 512, false, false},
        {Header("+X 768 -Y 512"), true, 768, 512, true, true},
        {Header("-X 768 +Y 512"), true, 768, 512, false, false},
        {Header("-Y 2 +X 3 extra tokens"), true, 3, 2, true, true},
        {Header("  -Y   2  +X 3"), true, 3, 2, true, true},
        {Header("-Yfoo 2 +Xbar 3"), true, 3, 2, true, true},
        {Header("-Y abc +X 3"), true, 3, 0, true, true},
        {Header("-Y 2 +X 3\r"), true, 3, 2, true, true},
        {Header("-Y 2 +X"), false, 0, 0, false, false},
        {Header("-Y 2 -Y 3"), false, 0, 0, false, false},
        {Header("+X 3 +X 2"), false, 0, 0, false, false},
        {Header("-y 2 +x 3"), false, 0, 0, false, false},
        {Header("Y 2 +X 3"), false, 0, 0, false, false},
        {Header("-Y 2 X 3"), false, 0, 0, false, false},
        {Header("-Y\t2\t+X\t3"), false, 0, 0, false, false},
        {Header(""), false, 0, 0, false, false},
        {"anything at all\n\n-Y 1 +X 1\n", true, 1, 1, true, true},
        {"\n-Y 1 +X 1\n", true, 1, 1, true, true},
        {"#?RADIANCE\n\n-Y 1 +X 1\n", true, 1, 1, true, true},
        {"#?RADIANCE\nFORMAT=32-bit_rle_rgbe and more\n\n-Y 1 +X 1\n", true, 1, 1, true, true},
        {"#?RADIANCE\nFORMAT=32-bit_rle_xyze\n\n-Y 1 +X 1\n", false, 0, 0, false, false},
        {"#?RADIANCE\nformat=32-bit_rle_xyze\n\n-Y 1 +X 1\n", true, 1, 1, true, true},
        {"#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n-Y 1 +X 1\n", false, 0, 0, false, false},
        {"#?RADIANCE\r\n\r\n-Y 1 +X 1\r\n", true, 1, 1, true, true},
        {"#?RADIANCE\n\n", false, 0, 0, false, false},
        {"", false, 0, 0, false, false},
    };
    for (const Case& c : cases) {
        // Two bytes of pixel data after an accepted header.
        const Bytes pixels = {0xA5, 0x5A};
        Bytes bytes = Concat(c.file, c.accepted ? pixels : Bytes{});
        ZqMemoryFile file(bytes.data(), bytes.size());
        TestableReader reader;
        unsigned width = 0, height = 0;
        bool leftToRight = false, topToBottom = false, rowOrder = false;
        bool accepted =
            reader.ReadHeaderInternal(file, width, height, leftToRight, topToBottom, rowOrder);
        ASSERT_EQ(accepted, c.accepted) << c.file;
        if (accepted) {
            EXPECT_EQ(width, c.width) << c.file;
            EXPECT_EQ(height, c.height) << c.file;
            EXPECT_EQ(leftToRight, c.leftToRight) << c.file;
            EXPECT_EQ(topToBottom, c.topToBottom) << c.file;
            EXPECT_TRUE(rowOrder);
            EXPECT_EQ(Rest(file), pixels) << "stands at the pixel data";
        }
    }
}

TEST(ZqHDRReader, LongHeaderLinesAreCutNotOverrun) {
    std::string longComment(5000, '#');
    Bytes bytes = Concat("#?RADIANCE\n" + longComment + "\n\n-Y 1 +X 2\n");
    ZqMemoryFile file(bytes.data(), bytes.size());
    ZqHDRReader reader;
    unsigned width = 0, height = 0, faces = 0;
    ZqPixelFormat format;
    bool mipmaps = true;
    EXPECT_TRUE(reader.ReadHeader(file, width, height, format, mipmaps, faces));
    EXPECT_EQ(width, 2u);
}

TEST(ZqHDRReader, ReadHeaderSetsFormatEvenWhenRefusedAndRewinds) {
    for (bool good : {true, false}) {
        Bytes bytes = Concat(good ? Header("-Y 4 +X 5") : "#?RADIANCE\nFORMAT=other\n\n-Y 4 +X 5\n",
                             FlatPixels(4, 5));
        ZqMemoryFile file(bytes.data(), bytes.size());
        ZqHDRReader reader;
        for (int call = 0; call < 2; ++call) {
            unsigned width = 0, height = 0, faces = 9;
            ZqPixelFormat format(ZqPixelFormat::RGB, 24, 1, 2, 3, 4);
            bool mipmaps = true;
            EXPECT_EQ(reader.ReadHeader(file, width, height, format, mipmaps, faces), good);
            EXPECT_TRUE(format == ZqPixelFormat::RGBA64);
            EXPECT_FALSE(mipmaps);
            EXPECT_EQ(faces, 1u);
            if (good) {
                EXPECT_EQ(width, 5u);
                EXPECT_EQ(height, 4u);
            }
        }
    }
}

TEST(ZqHDRReader, CopiesHaveLocksOfTheirOwn) {
    // Shows each reader's lock words.
    class Reader : public ZqHDRReader {
    public:
        unsigned* Words() { return m_kReadCriticalSection.words; }
    };
    Reader original;
    original.Words()[0] = 7;
    original.Words()[1] = 9;
    Reader copy(original);
    EXPECT_EQ(copy.Words()[0], 0u);
    EXPECT_EQ(copy.Words()[1], 0u);
    Reader assigned;
    assigned.Words()[1] = 3;
    assigned = original;
    EXPECT_EQ(assigned.Words()[0], 0u);
    EXPECT_EQ(assigned.Words()[1], 3u);
    EXPECT_TRUE(assigned.CanReadFile(".hdr"));
    EXPECT_TRUE(copy.CanReadFile(".HDR"));
}
