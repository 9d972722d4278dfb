// The PNG writer and its parallel deflate, in process: the zlib stream, the
// container, the pixels, against a whole ReadFile tone mapped here.
#include "BandedReader.h"
#include "HdrTestImages.h"
#include "ImageWriters.h"
#include "ParallelDeflate.h"
#include "ScratchFolder.h"
#include "ToneMap.h"
#include "ZqhdrTestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Buffer = std::vector<unsigned char>;

struct Chunk {
    std::string type;
    Buffer data;
};

Buffer ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Buffer(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

unsigned long BigEndian(const unsigned char* at) {
    return (unsigned long)at[0] << 24 | (unsigned long)at[1] << 16 | (unsigned long)at[2] << 8 |
           at[3];
}

// The file's chunks, each CRC checked; empty when the file is not a PNG.
std::vector<Chunk> Chunks(const Buffer& file) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<Chunk> chunks;
    if (file.size() < 8 || std::memcmp(file.data(), kSignature, 8) != 0) {
        ADD_FAILURE() << "no PNG signature";
        return chunks;
    }
    for (size_t at = 8; at < file.size();) {
        if (file.size() - at < 12) {
            ADD_FAILURE() << "chunk cut short at " << at;
            return {};
        }
        const size_t size = BigEndian(&file[at]);
        if (file.size() - at - 12 < size) {
            ADD_FAILURE() << "chunk longer than the file at " << at;
            return {};
        }
        const unsigned char* type = &file[at + 4];
        EXPECT_EQ(crc32(0, type, static_cast<uInt>(size + 4)), BigEndian(type + 4 + size))
            << "CRC of the chunk at " << at;
        chunks.push_back({std::string(type, type + 4), Buffer(type + 4, type + 4 + size)});
        at += 12 + size;
    }
    return chunks;
}

// A whole zlib stream, header and checksum checked by zlib; "" on failure.
bool Inflate(const Buffer& stream, Buffer& out) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) {
        return false;
    }
    z.next_in = const_cast<unsigned char*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    out.clear();
    int code = Z_OK;
    unsigned char piece[65536];
    while (code == Z_OK) {
        z.next_out = piece;
        z.avail_out = sizeof piece;
        code = inflate(&z, Z_NO_FLUSH);
        out.insert(out.end(), piece, piece + (sizeof piece - z.avail_out));
    }
    const bool whole = code == Z_STREAM_END && z.avail_in == 0;
    inflateEnd(&z);
    return whole;
}

// The preview's rows as the Up filter gives them, each after its filter byte.
Buffer FilteredRows(const Buffer& rgb, unsigned width, unsigned height) {
    const size_t rowBytes = size_t(width) * 3;
    Buffer rows;
    for (unsigned y = 0; y < height; ++y) {
        rows.push_back(2);
        for (size_t i = 0; i < rowBytes; ++i) {
            const unsigned char above = y > 0 ? rgb[(y - 1) * rowBytes + i] : 0;
            rows.push_back(static_cast<unsigned char>(rgb[y * rowBytes + i] - above));
        }
    }
    return rows;
}

// What the preview's pixels must be: the whole decode, tone mapped.
Buffer ExpectedRgb(const Bytes& image, double exposure) {
    ZqMemoryFile file(image.data(), image.size());
    ZqHDRReader reader;
    std::unique_ptr<ZqPixelData> data(reader.ReadFile(file, nullptr));
    const size_t pixels = data->GetSizeInBytes(0) / 8;
    Buffer rgb(pixels * 3);
    ToneMap(exposure).Row(data->GetPixels(0), pixels, rgb.data());
    return rgb;
}

// libpng's reading of the file, as RGB; empty when it refuses it.
Buffer LibpngPixels(const std::string& path, unsigned& width, unsigned& height) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    Buffer pixels;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        return pixels;
    }
    png.format = PNG_FORMAT_RGB;
    width = png.width;
    height = png.height;
    pixels.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr)) {
        pixels.clear();
    }
    png_image_free(&png);
    return pixels;
}

class PngWriterTest : public ::testing::Test {
protected:
    // Decodes `image` in bands of `bandBytes` through a PNG writer.
    bool Convert(const Bytes& image, const std::string& name, unsigned threads, size_t blockBytes,
                 size_t bandBytes, double exposure = 0.0) {
        std::unique_ptr<BandSink> writer =
            MakePngWriter(NewFileForWriter(m_folder.Path(name)), exposure, threads, blockBytes);
        ZqMemoryFile file(image.data(), image.size());
        BandedReader reader(bandBytes);
        std::string error;
        const bool decoded = reader.Decode(file, *writer, error) == BandedReader::Result::Decoded;
        EXPECT_TRUE(decoded) << name << ": " << error;
        return decoded;
    }

    ScratchFolder m_folder;
};

struct Shape {
    const char* resolution;
    unsigned width, height;
};

// Top to bottom and bottom to top; one row, one column, one pixel; rows that
// span several blocks and blocks that span several rows.
const Shape kShapes[] = {
    {"-Y 9 +X 7", 7, 9},       {"+Y 9 +X 7", 7, 9},     {"-Y 1 +X 40", 40, 1},
    {"+Y 1 +X 40", 40, 1},     {"-Y 40 +X 1", 1, 40},   {"+Y 40 -X 1", 1, 40},
    {"-Y 1 +X 1", 1, 1},       {"+Y 1 +X 1", 1, 1},     {"-Y 3 +X 3000", 3000, 3},
    {"+Y 3 +X 3000", 3000, 3}, {"-X 23 +Y 31", 23, 31}, {"+X 23 -Y 31", 23, 31},
};
// Blocks cutting pixels and filter bytes at every place, and larger ones.
const size_t kBlockSizes[] = {3, 4, 5, 7, 64, 1000, kPngBlockBytes};
// One row a band, and the whole image in one.
const size_t kBandSizes[] = {1, size_t(1) << 20};

} // namespace

TEST_F(PngWriterTest, TheStreamInflatesToTheFilteredRowsForEveryBlockSize) {
    for (const Shape& shape : kShapes) {
        Bytes image = Concat(Header(shape.resolution), FlatPixels(shape.height, shape.width));
        const Buffer expected = FilteredRows(ExpectedRgb(image, 0.0), shape.width, shape.height);
        for (size_t blockBytes : kBlockSizes) {
            for (size_t bandBytes : kBandSizes) {
                for (unsigned threads : {1u, 3u}) {
                    const std::string what = std::string(shape.resolution) + " blocks of " +
                                             std::to_string(blockBytes) + ", bands of " +
                                             std::to_string(bandBytes) + ", threads " +
                                             std::to_string(threads);
                    ASSERT_TRUE(Convert(image, "out.png", threads, blockBytes, bandBytes)) << what;
                    std::vector<Chunk> chunks = Chunks(ReadBytes(m_folder.Path("out.png")));
                    ASSERT_GE(chunks.size(), 4u) << what;
                    EXPECT_EQ(chunks.front().type, "IHDR") << what;
                    EXPECT_EQ(chunks[1].type, "sRGB") << what;
                    EXPECT_EQ(chunks.back().type, "IEND") << what;
                    Buffer stream;
                    for (size_t i = 2; i + 1 < chunks.size(); ++i) {
                        EXPECT_EQ(chunks[i].type, "IDAT") << what;
                        stream.insert(stream.end(), chunks[i].data.begin(), chunks[i].data.end());
                    }
                    Buffer rows;
                    ASSERT_TRUE(Inflate(stream, rows)) << what;
                    EXPECT_EQ(rows, expected) << what;
                }
            }
        }
    }
}

TEST_F(PngWriterTest, OneAndManyThreadsWriteTheSameFileOfTheSamePixels) {
    for (const Shape& shape : kShapes) {
        Bytes image = Concat(Header(shape.resolution), FlatPixels(shape.height, shape.width));
        for (double exposure : {0.0, -3.0}) {
            const Buffer expected = ExpectedRgb(image, exposure);
            ASSERT_TRUE(Convert(image, "one.png", 1, 64, 1, exposure));
            ASSERT_TRUE(Convert(image, "many.png", 4, 64, 1, exposure));
            EXPECT_EQ(ReadBytes(m_folder.Path("one.png")), ReadBytes(m_folder.Path("many.png")))
                << shape.resolution;
            for (const char* name : {"one.png", "many.png"}) {
                unsigned width = 0, height = 0;
                Buffer rgb = LibpngPixels(m_folder.Path(name), width, height);
                EXPECT_EQ(width, shape.width) << shape.resolution;
                EXPECT_EQ(height, shape.height) << shape.resolution;
                EXPECT_EQ(rgb, expected) << shape.resolution << " " << name;
            }
        }
    }
}

namespace {

// Keeps the stream's blocks; fails the write numbered `failAt`.
class Blocks : public CompressedBlocks {
public:
    explicit Blocks(size_t failAt = size_t(-1)) : m_failAt(failAt) {}
    bool Write(const unsigned char* bytes, size_t size, std::string& error) override {
        if (m_writes++ == m_failAt) {
            error = "refused";
            return false;
        }
        m_stream.insert(m_stream.end(), bytes, bytes + size);
        return true;
    }

    Buffer m_stream;
    size_t m_writes = 0;

private:
    size_t m_failAt;
};

} // namespace

TEST(ParallelDeflateTest, BlocksOfEverySizeJoinIntoOneStream) {
    std::mt19937 random(7);
    Buffer data(30000);
    for (size_t i = 0; i < data.size(); ++i) {
        // Runs and noise, so that some blocks shrink and some cannot.
        data[i] = static_cast<unsigned char>(i % 5000 < 2500 ? i / 97 : random());
    }
    // Each pattern's sizes repeat until the data is used up.
    const std::vector<std::vector<size_t>> patterns = {
        {1}, {4096}, {1, 20000, 3}, {20000}, {0, 17, 20000, 0}, {30000}};
    for (const std::vector<size_t>& pattern : patterns) {
        for (unsigned threads : {1u, 2u, 5u}) {
            for (bool inPlace : {false, true}) {
                Blocks blocks;
                ParallelDeflate deflate(30000, blocks);
                std::string error;
                ASSERT_TRUE(deflate.Start(threads, error)) << error;
                size_t submitted = 0;
                for (size_t i = 0; submitted < data.size(); ++i) {
                    const size_t size =
                        std::min(pattern[i % pattern.size()], data.size() - submitted);
                    const bool last = submitted + size == data.size();
                    const unsigned char* bytes = data.data() + submitted;
                    if (inPlace) {
                        unsigned char* space = deflate.Space(error);
                        ASSERT_NE(space, nullptr) << error;
                        std::memcpy(space, bytes, size);
                        bytes = space;
                    }
                    ASSERT_TRUE(deflate.Submit(bytes, size, last, error)) << error;
                    submitted += size;
                }
                Buffer out;
                ASSERT_TRUE(Inflate(blocks.m_stream, out))
                    << pattern.size() << " sizes, threads " << threads;
                EXPECT_EQ(out, data) << pattern.size() << " sizes, threads " << threads;
            }
        }
    }
}

TEST(ParallelDeflateTest, AFailedWriteEndsTheStreamWithItsCause) {
    const Buffer data(1000, 'x');
    for (unsigned threads : {1u, 3u}) {
        for (size_t failAt : {0, 1, 9}) {
            Blocks blocks(failAt);
            ParallelDeflate deflate(100, blocks);
            std::string error;
            ASSERT_TRUE(deflate.Start(threads, error)) << error;
            bool submitted = true;
            for (size_t at = 0; at < data.size() && submitted; at += 100) {
                submitted = deflate.Submit(data.data() + at, 100, at + 100 == data.size(), error);
            }
            EXPECT_FALSE(submitted) << threads << " threads, failing write " << failAt;
            EXPECT_EQ(error, "refused");
            EXPECT_EQ(blocks.m_writes, failAt + 1) << "nothing written after the failure";
            EXPECT_EQ(deflate.Space(error), nullptr);
            EXPECT_EQ(error, "refused");
        }
    }
}

// A disk that fills up fails the file whatever the threads; so does one
// that fills up only at the end of a larger image.
TEST(PngWriterFailureTest, AFullDiskFailsTheFile) {
    const std::string pixels(300 * 40 * 8, '\x3c');
    for (unsigned threads : {1u, 2u}) {
        for (unsigned rows : {1u, 40u}) {
            std::unique_ptr<BandSink> writer =
                MakePngWriter(::open("/dev/full", O_WRONLY | O_CLOEXEC), 0, threads, 1000);
            std::string error;
            const Band band{0, rows, reinterpret_cast<const unsigned char*>(pixels.data())};
            EXPECT_FALSE(writer->Begin({300, rows, true}, error) && writer->Take(band, error) &&
                         writer->Finish(error))
                << threads;
            EXPECT_NE(error.find(std::strerror(ENOSPC)), std::string::npos) << error;
        }
    }
}
