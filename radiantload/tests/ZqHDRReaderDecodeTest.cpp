#include "HdrTestImages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

struct Decoded {
    ZqPixelData* data = nullptr;
    ~Decoded() { delete data; }
};

ZqPixelData* Read(const Bytes& bytes, ZqPixelData* reuse = nullptr) {
    ZqMemoryFile file(bytes.data(), bytes.size());
    ZqHDRReader reader;
    return reader.ReadFile(file, reuse);
}

// The 8 output bytes at (row, column) of the top level.
std::vector<unsigned char> At(const ZqPixelData* data, unsigned row, unsigned column) {
    const unsigned char* pixel =
        data->GetPixels(0) + (size_t(row) * data->GetWidth(0) + column) * 8;
    return std::vector<unsigned char>(pixel, pixel + 8);
}

std::vector<unsigned char> ExpectedPixel(unsigned index) {
    unsigned char rgbe[4];
    PixelFor(index, rgbe);
    return HalfOf(rgbe);
}

Bytes Scanline(unsigned columns, const Bytes& planes) {
    Bytes line;
    Append(line, {2, 2, static_cast<unsigned char>(columns >> 8),
                  static_cast<unsigned char>(columns & 0xFF)});
    for (unsigned char byte : planes) {
        line.push_back(byte);
    }
    return line;
}

} // namespace

TEST(ZqHDRReaderDecode, EveryOrientationPlacesEveryPixel) {
    const unsigned rows = 3, columns = 5;
    struct Case {
        const char* resolution;
        bool leftToRight, topToBottom;
    } cases[] = {
        {"-Y 3 +X 5", true, true},   {"-Y 3 -X 5", false, true}, {"+Y 3 +X 5", true, false},
        {"+Y 3 -X 5", false, false}, {"+X 5 -Y 3", true, true},  {"-X 5 +Y 3", false, false},
        {"+X 5 +Y 3", true, false},  {"-X 5 -Y 3", false, true},
    };
    for (bool runLength : {false, true}) {
        for (const Case& c : cases) {
            Decoded image;
            image.data = Read(Concat(Header(c.resolution), runLength ? RlePixels(rows, columns)
                                                                     : FlatPixels(rows, columns)));
            ASSERT_NE(image.data, nullptr) << c.resolution;
            EXPECT_EQ(image.data->GetWidth(0), columns);
            EXPECT_EQ(image.data->GetHeight(0), rows);
            EXPECT_TRUE(image.data->GetPixelFormat() == ZqPixelFormat::RGBA64);
            EXPECT_EQ(image.data->GetNumMipmapLevels(), 1u);
            for (unsigned i = 0; i < rows; ++i) {
                for (unsigned j = 0; j < columns; ++j) {
                    unsigned row = c.topToBottom ? i : rows - 1 - i;
                    unsigned column = c.leftToRight ? j : columns - 1 - j;
                    EXPECT_EQ(At(image.data, row, column), ExpectedPixel(i * columns + j))
                        << c.resolution << (runLength ? " rle" : " flat") << " pixel " << i << ","
                        << j;
                }
            }
        }
    }
}

TEST(ZqHDRReaderDecode, WideImagesUseTheVectorPathInBothDirections) {
    const unsigned rows = 2, columns = 301; // odd and past several vector widths
    for (const char* resolution : {"-Y 2 +X 301", "+Y 2 -X 301"}) {
        for (bool runLength : {false, true}) {
            Decoded image;
            image.data = Read(Concat(Header(resolution), runLength ? RlePixels(rows, columns)
                                                                   : FlatPixels(rows, columns)));
            ASSERT_NE(image.data, nullptr);
            bool forward = resolution[0] == '-';
            for (unsigned i = 0; i < rows; ++i) {
                for (unsigned j = 0; j < columns; ++j) {
                    unsigned row = forward ? i : rows - 1 - i;
                    unsigned column = forward ? j : columns - 1 - j;
                    ASSERT_EQ(At(image.data, row, column), ExpectedPixel(i * columns + j))
                        << resolution << " " << i << "," << j;
                }
            }
        }
    }
}

// ReadFile always lays pixels 8 bytes apart, which takes the decoders' fast
// path; a reader of its own may ask for any column step. Pixels 16 bytes
// apart, forward and reversed, must match the fast path's and leave the bytes
// between them alone.
TEST(ZqHDRReaderDecode, AnyColumnStepMatchesTheFastPath) {
    const unsigned rows = 2, columns = 37; // odd and past several vector widths
    const unsigned char untouched = 0xA5;
    for (bool runLength : {false, true}) {
        const Bytes data = runLength ? RlePixels(rows, columns) : FlatPixels(rows, columns);
        for (bool forward : {true, false}) {
            // Pixel j of scanline i lands at (i * columns + column) * stride.
            auto decode = [&](int stride, std::vector<unsigned char>& out) {
                out.assign(size_t(rows) * columns * stride, untouched);
                unsigned char firstFour[4] = {data[0], data[1], data[2], data[3]};
                ZqMemoryFile file(data.data() + 4, data.size() - 4);
                unsigned char* start = out.data() + (forward ? 0 : (columns - 1) * stride);
                int columnStep = forward ? stride : -stride;
                TestableReader reader;
                return runLength ? reader.ReadRLEFile(file, firstFour, start, columns * stride,
                                                      columnStep, rows, columns, 8)
                                 : reader.ReadRawFile(file, firstFour, start, columns * stride,
                                                      columnStep, rows, columns, 8);
            };
            std::vector<unsigned char> fast, general;
            ASSERT_TRUE(decode(8, fast));
            ASSERT_TRUE(decode(16, general));
            for (unsigned i = 0; i < rows; ++i) {
                for (unsigned j = 0; j < columns; ++j) {
                    size_t at = size_t(i) * columns + (forward ? j : columns - 1 - j);
                    std::vector<unsigned char> fastPixel(&fast[8 * at], &fast[8 * at + 8]);
                    std::vector<unsigned char> generalPixel(&general[16 * at],
                                                            &general[16 * at + 8]);
                    std::vector<unsigned char> between(&general[16 * at + 8],
                                                       &general[16 * at + 16]);
                    ASSERT_EQ(fastPixel, ExpectedPixel(i * columns + j))
                        << (runLength ? "rle " : "flat ") << forward << " " << i << "," << j;
                    ASSERT_EQ(generalPixel, fastPixel) << i << "," << j;
                    ASSERT_EQ(between, std::vector<unsigned char>(8, untouched)) << i << "," << j;
                }
            }
        }
    }
}

TEST(ZqHDRReaderDecode, PacketCountsAtTheirLimits) {
    // Plane values: a literal of 128, a run of 1 (129), a run of 127 (255),
    // then a literal of 2: 258 pixels in all.
    const unsigned columns = 258;
    Bytes plane = {128};
    for (unsigned j = 0; j < 128; ++j) {
        plane.push_back(static_cast<unsigned char>(j));
    }
    Append(plane, {129, 200, 255, 77, 2, 5, 6});
    Bytes exponents = {128 + 127, 130, 128 + 127, 130, 4, 130, 130, 130, 130};
    Bytes planes;
    for (int k = 0; k < 3; ++k) {
        planes.insert(planes.end(), plane.begin(), plane.end());
    }
    planes.insert(planes.end(), exponents.begin(), exponents.end());
    Decoded image;
    image.data = Read(Concat(Header("-Y 1 +X 258"), Scanline(columns, planes)));
    ASSERT_NE(image.data, nullptr);
    for (unsigned j = 0; j < columns; ++j) {
        unsigned char value = j < 128 ? j : j == 128 ? 200 : j < 256 ? 77 : j == 256 ? 5 : 6;
        unsigned char rgbe[4] = {value, value, value, 130};
        ASSERT_EQ(At(image.data, 0, j), HalfOf(rgbe)) << j;
    }
}

TEST(ZqHDRReaderDecode, MalformedRunLengthDataIsRefused) {
    Bytes good = Scanline(4, {4, 1, 2, 3, 4, 132, 9, 3, 1, 2, 3, 129, 7, 132, 130});
    struct Case {
        const char* what;
        Bytes data;
    } cases[] = {
        {"count 0", Scanline(4, {0, 1, 2, 3, 4})},
        {"literal past the width", Scanline(4, {5, 1, 2, 3, 4, 5})},
        {"run past the width", Scanline(4, {3, 1, 2, 3, 130, 9})},
        {"length other than the width", Scanline(5, {132, 1, 132, 1, 132, 1, 132, 1})},
        {"length high bit", Bytes{2, 2, 0x80, 4}},
        {"ends inside a literal", Bytes(good.begin(), good.begin() + 7)},
        {"ends before a run value", Bytes(good.begin(), good.begin() + 10)},
        {"ends before the second scanline", good},
        {"second scanline not run-length",
         [&] {
             Bytes two = good;
             Append(two, {1, 2, 3, 4});
             return two;
         }()},
    };
    for (const Case& c : cases) {
        unsigned objects = ZqRefObject::GetTotalObjectCount();
        EXPECT_EQ(Read(Concat(Header("-Y 2 +X 4"), c.data)), nullptr) << c.what;
        EXPECT_EQ(ZqRefObject::GetTotalObjectCount(), objects) << "the new object is destroyed";
    }
    Bytes two = good;
    two.insert(two.end(), good.begin(), good.end());
    Decoded image;
    image.data = Read(Concat(Header("-Y 2 +X 4"), two));
    EXPECT_NE(image.data, nullptr);
}

TEST(ZqHDRReaderDecode, FlatEdgeCases) {
    {
        SCOPED_TRACE("a 1 x 1 image is exactly the four bytes of the form test");
        Decoded image;
        image.data = Read(Concat(Header("-Y 1 +X 1"), {128, 64, 0, 129}));
        ASSERT_NE(image.data, nullptr);
        EXPECT_EQ(At(image.data, 0, 0),
                  (std::vector<unsigned char>{0x04, 0x3C, 0x08, 0x38, 0x00, 0x1C, 0x00, 0x3C}));
    }
    {
        SCOPED_TRACE("1,1,1,n has no special meaning");
        Decoded image;
        image.data = Read(Concat(Header("-Y 1 +X 2"), {1, 1, 1, 5, 1, 1, 1, 200}));
        ASSERT_NE(image.data, nullptr);
        unsigned char second[4] = {1, 1, 1, 200};
        EXPECT_EQ(At(image.data, 0, 1), HalfOf(second));
    }
    // A flat image whose first pixel reads 2, 2, <128 is taken for run-length.
    EXPECT_EQ(Read(Concat(Header("-Y 1 +X 2"), {2, 2, 5, 9, 1, 1, 1, 1})), nullptr);
    Decoded complete;
    complete.data = Read(Concat(Header("-Y 2 +X 3"), FlatPixels(2, 3)));
    EXPECT_NE(complete.data, nullptr);
    Bytes shortData = FlatPixels(2, 3);
    shortData.pop_back();
    EXPECT_EQ(Read(Concat(Header("-Y 2 +X 3"), shortData)), nullptr);
    EXPECT_EQ(Read(Concat(Header("-Y 2 +X 3"), {9, 9})), nullptr);
}

TEST(ZqHDRReaderDecode, EmptyImagesReadNothingPastTheFormTest) {
    for (const char* resolution : {"-Y 0 +X 7", "-Y 3 +X 0"}) {
        Bytes bytes = Concat(Header(resolution), {9, 9, 9, 9, 42, 43});
        ZqMemoryFile file(bytes.data(), bytes.size());
        ZqHDRReader reader;
        std::unique_ptr<ZqPixelData> data(reader.ReadFile(file, nullptr));
        ASSERT_NE(data, nullptr) << resolution;
        EXPECT_EQ(Rest(file), (Bytes{42, 43})) << resolution;
        EXPECT_EQ(data->GetTotalSizeInBytes(), 0u);
    }
    std::unique_ptr<ZqPixelData> bare(Read(Concat(Header("-Y 0 +X 0"))));
    EXPECT_NE(bare, nullptr);
}

TEST(ZqHDRReaderDecode, XFirstLinesReadHeightScanlinesOfWidth) {
    // +X 4 -Y 2: two scanlines of four pixels, whichever axis came first.
    std::unique_ptr<ZqPixelData> flat(Read(Concat(Header("+X 4 -Y 2"), FlatPixels(2, 4))));
    ASSERT_NE(flat, nullptr);
    EXPECT_EQ(At(flat.get(), 1, 3), ExpectedPixel(7));
    // Run-length scanlines as long as the Y number do not fit unless square.
    EXPECT_EQ(Read(Concat(Header("+X 4 -Y 2"), RlePixels(4, 2))), nullptr);
    std::unique_ptr<ZqPixelData> square(Read(Concat(Header("+X 3 -Y 3"), RlePixels(3, 3))));
    EXPECT_NE(square, nullptr);
}

TEST(ZqHDRReaderDecode, ReuseOnlyAMatchingObject) {
    Bytes image = Concat(Header("-Y 2 +X 3"), FlatPixels(2, 3));
    // Same size and format: filled and returned, lower levels untouched.
    ZqPointer<ZqPixelData> reuse = new ZqPixelData(3, 2, ZqPixelFormat::RGBA64, 2, 1);
    std::memset(reuse->GetPixels(1), 0xAB, reuse->GetSizeInBytes(1));
    EXPECT_EQ(Read(image, reuse), reuse);
    EXPECT_EQ(At(reuse, 1, 2), ExpectedPixel(5));
    EXPECT_EQ(reuse->GetPixels(1)[0], 0xAB);
    EXPECT_EQ(reuse->GetPixels(1)[7], 0xAB);

    struct Case {
        unsigned width, height;
        ZqPixelFormat format;
    } others[] = {{3, 3, ZqPixelFormat::RGBA64},
                  {2, 2, ZqPixelFormat::RGBA64},
                  {3, 2, ZqPixelFormat(ZqPixelFormat::RGBA, 64, 0, 0, 0, 0)}};
    for (const Case& c : others) {
        ZqPointer<ZqPixelData> other = new ZqPixelData(c.width, c.height, c.format);
        std::memset(other->GetPixels(0), 0x5A, other->GetSizeInBytes(0));
        std::unique_ptr<ZqPixelData> made(Read(image, other));
        ASSERT_NE(made, nullptr);
        EXPECT_NE(made.get(), static_cast<ZqPixelData*>(other));
        EXPECT_EQ(other->GetPixels(0)[0], 0x5A);
        EXPECT_EQ(other->GetRefCount(), 1u);
    }
    // A refused file leaves the caller's object alive and with the caller.
    EXPECT_EQ(Read(Concat(Header("-Y 2 +X 3"), {1, 2}), reuse), nullptr);
    EXPECT_EQ(reuse->GetRefCount(), 1u);
}

TEST(ZqHDRReaderDecode, OversizedImagesAreRefusedBeforeAllocating) {
    for (const char* resolution :
         {"-Y 1 +X 2147483648", "-Y 2147483648 +X 1", "-Y 1 +X 1073741824", "-Y -1 +X 4"}) {
        unsigned made = ZqRefObject::GetMadeObjectCount();
        EXPECT_EQ(Read(Concat(Header(resolution), {1, 1, 1, 1})), nullptr) << resolution;
        EXPECT_EQ(ZqRefObject::GetMadeObjectCount(), made) << resolution;
    }
}
