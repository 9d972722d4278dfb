// The banded decode and the writers, in process, with bands as small as one
// row, against a whole ReadFile of the same image.
#include "BandedReader.h"
#include "HdrTestImages.h"
#include "ImageStats.h"
#include "ImageWriters.h"
#include "ScratchFolder.h"
#include "ToneMap.h"

#include <ImfRgbaFile.h>
#include <gtest/gtest.h>
#include <png.h>

#include <Imath/half.h>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

// Every orientation, both axis orders.
const char* const kResolutions[] = {"-Y 7 +X 5", "-Y 7 -X 5", "+Y 7 +X 5", "+Y 7 -X 5",
                                    "+X 5 -Y 7", "-X 5 -Y 7", "+X 5 +Y 7", "-X 5 +Y 7"};
// One row a band, two rows a band (the last band shorter), the whole image.
const size_t kBandSizes[] = {1, 2 * 5 * 8, size_t(1) << 20};

std::string WholeDecode(const Bytes& image) {
    ZqMemoryFile file(image.data(), image.size());
    ZqHDRReader reader;
    std::unique_ptr<ZqPixelData> data(reader.ReadFile(file, nullptr));
    if (!data) {
        return "refused";
    }
    return std::string(reinterpret_cast<const char*>(data->GetPixels(0)), data->GetSizeInBytes(0));
}

// Assembles the bands into an image, checking that they arrive in file order
// and cover every row once.
class Assembler : public BandSink {
public:
    bool Begin(const ImageShape& shape, std::string&) override {
        m_shape = shape;
        m_pixels.assign(size_t(shape.width) * shape.height * 8, '\0');
        m_nextRow = shape.rowsTopToBottom ? 0 : shape.height;
        return true;
    }
    bool Take(const Band& band, std::string&) override {
        const size_t rowBytes = size_t(m_shape.width) * 8;
        if (m_shape.rowsTopToBottom) {
            EXPECT_EQ(band.firstRow, m_nextRow);
            m_nextRow = band.firstRow + band.rows;
        } else {
            EXPECT_EQ(band.firstRow + band.rows, m_nextRow);
            m_nextRow = band.firstRow;
        }
        std::memcpy(&m_pixels[band.firstRow * rowBytes], band.pixels, band.rows * rowBytes);
        ++m_bands;
        return true;
    }
    bool Finish(std::string&) override {
        m_finished = true;
        return true;
    }

    ImageShape m_shape;
    std::string m_pixels;
    unsigned m_nextRow = 0;
    unsigned m_bands = 0;
    bool m_finished = false;
};

BandedReader::Result Decode(const Bytes& image, BandSink& sink, size_t bandBytes) {
    ZqMemoryFile file(image.data(), image.size());
    BandedReader reader(bandBytes);
    std::string error;
    return reader.Decode(file, sink, error);
}

class BandedWriterTest : public ::testing::Test {
protected:
    // Decodes through a real writer into `name`; the result of the decode.
    BandedReader::Result Convert(const Bytes& image, OutputKind kind, const std::string& name,
                                 size_t bandBytes, double exposure = 0.0) {
        const std::string path = m_folder.Path(name);
        fs::remove(path);
        std::string error;
        ToolPlatform::FileHandle file = ToolPlatform::CreateNew(path, error);
        EXPECT_NE(file, ToolPlatform::kNoFile) << error;
        m_settings.kind = kind;
        m_settings.exposure = exposure;
        std::unique_ptr<BandSink> writer = MakeWriter(m_settings, file, path, m_source);
        return Decode(image, *writer, bandBytes);
    }

    ScratchFolder m_folder;
    ConversionSettings m_settings;
    HdrDescription m_source;
};

std::vector<unsigned char> PngPixels(const fs::path& path, unsigned& width, unsigned& height) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    std::vector<unsigned char> pixels;
    if (!png_image_begin_read_from_file(&png, path.string().c_str())) {
        return pixels;
    }
    png.format = PNG_FORMAT_RGB;
    width = png.width;
    height = png.height;
    pixels.resize(PNG_IMAGE_SIZE(png));
    png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr);
    return pixels;
}

} // namespace

TEST(BandedDecodeTest, BandsHoldExactlyTheWholeDecodeInEveryOrientation) {
    for (const char* resolution : kResolutions) {
        for (bool runLength : {true, false}) {
            Bytes image =
                Concat(Header(resolution), runLength ? RlePixels(7, 5) : FlatPixels(7, 5));
            for (size_t bandBytes : kBandSizes) {
                Assembler bands;
                ASSERT_EQ(Decode(image, bands, bandBytes), BandedReader::Result::Decoded)
                    << resolution << " " << bandBytes;
                EXPECT_TRUE(bands.m_finished);
                EXPECT_EQ(bands.m_bands, bandBytes == 1 ? 7u : bandBytes == 80 ? 4u : 1u);
                EXPECT_EQ(bands.m_pixels, WholeDecode(image))
                    << resolution << (runLength ? " run-length" : " flat") << " bands of "
                    << bandBytes;
            }
        }
    }
}

TEST(BandedDecodeTest, RefusesWhatReadFileRefuses) {
    Bytes whole = Concat(Header("+Y 7 -X 5"), RlePixels(7, 5));
    const size_t header = Header("+Y 7 -X 5").size();
    // Cut anywhere inside the pixel data, also inside a later band's opening.
    for (size_t length = header + 1; length < whole.size(); ++length) {
        Bytes cut(whole.begin(), whole.begin() + long(length));
        Assembler bands;
        EXPECT_EQ(Decode(cut, bands, 80), BandedReader::Result::DataRefused) << length;
        EXPECT_FALSE(bands.m_finished);
        EXPECT_EQ(WholeDecode(cut), "refused") << length;
    }
    Bytes flat = Concat(Header("-Y 7 +X 5"), FlatPixels(7, 5));
    flat.pop_back();
    Assembler bands;
    EXPECT_EQ(Decode(flat, bands, 1), BandedReader::Result::DataRefused);

    // A later scanline whose opening is wrong, in the second band.
    Bytes wrongOpening = whole;
    wrongOpening[header + (whole.size() - header) / 7 * 2 + 3] = 6;
    EXPECT_EQ(Decode(wrongOpening, bands, 80), BandedReader::Result::DataRefused);
    EXPECT_EQ(WholeDecode(wrongOpening), "refused");

    EXPECT_EQ(Decode(Concat("#?RADIANCE\nFORMAT=32-bit_rle_xyze\n\n-Y 1 +X 1\n"), bands, 80),
              BandedReader::Result::HeaderRefused);
    // Rows wider than a signed 32-bit byte step; without rows, nothing to refuse.
    EXPECT_EQ(Decode(Concat(Header("-Y 1 +X 268435456")), bands, 80),
              BandedReader::Result::TooLarge);
    EXPECT_EQ(Decode(Concat(Header("-Y 0 +X 2147483647")), bands, 80),
              BandedReader::Result::Decoded);
}

TEST_F(BandedWriterTest, RawIsTheWholeDecodeByteForByte) {
    for (const char* resolution : kResolutions) {
        Bytes image = Concat(Header(resolution), RlePixels(7, 5));
        for (size_t bandBytes : kBandSizes) {
            ASSERT_EQ(Convert(image, OutputKind::Raw, "out.raw", bandBytes),
                      BandedReader::Result::Decoded);
            EXPECT_EQ(ReadText(m_folder.Path("out.raw")), WholeDecode(image)) << resolution;
        }
    }
}

TEST_F(BandedWriterTest, ExrHoldsTheSameHalvesInTheFilesLineOrder) {
    for (const char* resolution : kResolutions) {
        Bytes image = Concat(Header(resolution), FlatPixels(7, 5));
        ASSERT_EQ(Convert(image, OutputKind::Exr, "out.exr", 80), BandedReader::Result::Decoded);
        Imf::RgbaInputFile exr((m_folder.Root() / "out.exr").string().c_str());
        Imath::Box2i window = exr.dataWindow();
        ASSERT_EQ(window.max.x - window.min.x + 1, 5);
        ASSERT_EQ(window.max.y - window.min.y + 1, 7);
        const bool topToBottom = std::strstr(resolution, "-Y") != nullptr;
        EXPECT_EQ(exr.lineOrder(), topToBottom ? Imf::INCREASING_Y : Imf::DECREASING_Y)
            << resolution;
        std::vector<Imf::Rgba> pixels(35);
        exr.setFrameBuffer(pixels.data(), 1, 5);
        exr.readPixels(window.min.y, window.max.y);
        std::string expected = WholeDecode(image);
        EXPECT_EQ(0, std::memcmp(pixels.data(), expected.data(), expected.size())) << resolution;
    }
}

TEST_F(BandedWriterTest, PngIsThePreviewOfTheWholeDecode) {
    for (const char* resolution : kResolutions) {
        Bytes image = Concat(Header(resolution), RlePixels(7, 5));
        // The last scanline's exponent plane closes the data: exponent 160
        // overflows binary16 in all three channels, and shows white.
        image[image.size() - 3] = 160;
        for (double exposure : {0.0, -2.5}) {
            ASSERT_EQ(Convert(image, OutputKind::Png, "out.png", 80, exposure),
                      BandedReader::Result::Decoded);
            unsigned width = 0, height = 0;
            std::vector<unsigned char> rgb = PngPixels(m_folder.Root() / "out.png", width, height);
            ASSERT_EQ(width, 5u);
            ASSERT_EQ(height, 7u);
            // The curve itself is checked against fixed values (ToneMapTest).
            std::string halves = WholeDecode(image);
            std::vector<unsigned char> expected(3 * 35);
            ToneMap(exposure).Row(reinterpret_cast<const unsigned char*>(halves.data()), 35,
                                  expected.data());
            size_t white = 0;
            for (size_t i = 0; i < 35; ++i) {
                for (size_t c = 0; c < 3; ++c) {
                    ASSERT_EQ(rgb[3 * i + c], expected[3 * i + c]) << resolution << " pixel " << i;
                }
                white += rgb[3 * i] == 255 && rgb[3 * i + 1] == 255 && rgb[3 * i + 2] == 255;
            }
            EXPECT_GE(white, 1u) << resolution;
        }
    }
}

TEST_F(BandedWriterTest, EmptyImagesAreWrittenOnlyAsRaw) {
    Bytes empty = Concat(Header("-Y 0 +X 9"));
    EXPECT_EQ(Convert(empty, OutputKind::Raw, "out.raw", 80), BandedReader::Result::Decoded);
    EXPECT_EQ(fs::file_size(m_folder.Root() / "out.raw"), 0u);
    EXPECT_EQ(Convert(empty, OutputKind::Exr, "out.exr", 80), BandedReader::Result::SinkFailed);
    EXPECT_EQ(Convert(empty, OutputKind::Png, "out.png", 80), BandedReader::Result::SinkFailed);
}

// A disk that fills up must fail the write, even when every byte of a small
// image is only written when the file is closed.
TEST(WriterTest, AFullDiskFailsTheWrite) {
    const ImageShape shape{3, 2, true};
    const std::string pixels(3 * 2 * 8, '\x3c');
    for (OutputKind kind : {OutputKind::Raw, OutputKind::Exr, OutputKind::Png}) {
        ConversionSettings settings;
        settings.kind = kind;
        const HdrDescription source;
        std::unique_ptr<BandSink> writer =
            MakeWriter(settings, ::open("/dev/full", O_WRONLY | O_CLOEXEC), "/dev/full", source);
        std::string error;
        const Band band{0, 2, reinterpret_cast<const unsigned char*>(pixels.data())};
        EXPECT_FALSE(writer->Begin(shape, error) && writer->Take(band, error) &&
                     writer->Finish(error))
            << OutputExtension(kind);
        EXPECT_NE(error.find(std::strerror(ENOSPC)), std::string::npos)
            << OutputExtension(kind) << ": " << error;
    }
}

TEST(ImageStatsTest, MinMaxMeanOverflowedAndBlack) {
    // Row 0: about 1.0, black, about 0.5; row 1: red overflowed with green and
    // blue at 768, about 2.0, black again.
    Bytes pixels = {128, 128, 128, 129, 0,   0,   0,   0,   128, 128, 128, 128,
                    255, 1,   1,   145, 128, 128, 128, 130, 9,   9,   9,   0};
    Bytes image = Concat(Header("-Y 2 +X 3"), pixels);
    StatsSink stats;
    ASSERT_EQ(Decode(image, stats, 24), BandedReader::Result::Decoded);
    const PixelStats& s = stats.Stats();
    EXPECT_EQ(s.overflowed, 1u);
    EXPECT_EQ(s.black, 2u);
    // Red leaves out its overflowed value.
    std::string halves = WholeDecode(image);
    for (int c = 0; c < 3; ++c) {
        double low = INFINITY, high = -INFINITY, sum = 0;
        int finite = 0;
        for (int i = 0; i < 6; ++i) {
            unsigned short bits;
            std::memcpy(&bits, &halves[8 * i + 2 * c], 2);
            Imath::half value;
            value.setBits(bits);
            if (value.isInfinity()) {
                continue;
            }
            low = std::min(low, double(value));
            high = std::max(high, double(value));
            sum += double(value);
            ++finite;
        }
        EXPECT_EQ(s.min[c], low) << c;
        EXPECT_EQ(s.max[c], high) << c;
        EXPECT_DOUBLE_EQ(s.mean[c], sum / finite) << c;
    }
    EXPECT_EQ(s.min[0], 0.0);
    EXPECT_EQ(s.max[0], 2.0078125);
    EXPECT_EQ(s.max[1], 768.0);
    EXPECT_DOUBLE_EQ(s.mean[0], (1.00390625 + 0.501953125 + 2.0078125) / 5);

    StatsSink none;
    ASSERT_EQ(Decode(Concat(Header("-Y 0 +X 3")), none, 24), BandedReader::Result::Decoded);
    EXPECT_TRUE(std::isnan(none.Stats().mean[0]));
    EXPECT_EQ(none.Stats().black, 0u);
}
