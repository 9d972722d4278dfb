// The downscaling sink against a brute-force mean over the whole image in
// memory, with exact area weights, fed in bands of several sizes in both
// row orders.
#include "Downscale.h"

#include <gtest/gtest.h>

#include <Imath/half.h>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

typedef std::vector<unsigned short> Halves; // RGBA, rows top to bottom

float Value(unsigned short bits) {
    Imath::half half;
    half.setBits(bits);
    return static_cast<float>(half);
}

// Non-negative finite halves over many magnitudes, as the decoder gives, alpha 1.
Halves RandomImage(unsigned width, unsigned height, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<unsigned> bits(0, 0x7BFF);
    Halves image(size_t(width) * height * 4);
    for (size_t i = 0; i < image.size(); ++i) {
        image[i] = i % 4 == 3 ? 0x3C00 : static_cast<unsigned short>(bits(random) & 0x4FFF);
    }
    return image;
}

// Records what reaches the writer, checking the bands' order and rows.
class Recorder : public BandSink {
public:
    bool Begin(const ImageShape& shape, std::string&) override {
        ++begun;
        this->shape = shape;
        pixels.assign(size_t(shape.width) * shape.height * 4, 0);
        nextRow = shape.rowsTopToBottom ? 0 : shape.height;
        return true;
    }
    bool Take(const Band& band, std::string&) override {
        EXPECT_GE(band.rows, 1u);
        if (shape.rowsTopToBottom) {
            EXPECT_EQ(band.firstRow, nextRow);
            nextRow = band.firstRow + band.rows;
        } else {
            EXPECT_EQ(band.firstRow + band.rows, nextRow);
            nextRow = band.firstRow;
        }
        largestBand = std::max(largestBand, band.rows);
        rowsTaken += band.rows;
        EXPECT_LE(size_t(band.firstRow) + band.rows, size_t(shape.height));
        if (size_t(band.firstRow) + band.rows <= shape.height && !pixels.empty()) {
            std::memcpy(pixels.data() + size_t(band.firstRow) * shape.width * 4, band.pixels,
                        size_t(band.rows) * shape.width * 8);
        }
        ++bands;
        return true;
    }
    bool Finish(std::string&) override {
        ++finished;
        return true;
    }

    ImageShape shape;
    Halves pixels;
    unsigned nextRow = 0, bands = 0, largestBand = 0, rowsTaken = 0;
    int begun = 0, finished = 0;
};

// Feeds `image` in bands of `bandRows` rows in the row order given; after each
// band, `afterBand` sees how many input rows have gone in.
template <typename Check>
bool Feed(BandSink& sink, const Halves& image, unsigned width, unsigned height, bool topToBottom,
          unsigned bandRows, Check afterBand) {
    std::string error;
    ImageShape shape;
    shape.width = width;
    shape.height = height;
    shape.rowsTopToBottom = topToBottom;
    if (!sink.Begin(shape, error)) {
        return false;
    }
    for (unsigned done = 0; done < height; done += bandRows) {
        const unsigned rows = std::min(bandRows, height - done);
        Band band;
        band.firstRow = topToBottom ? done : height - done - rows;
        band.rows = rows;
        band.pixels = reinterpret_cast<const unsigned char*>(image.data() +
                                                             size_t(band.firstRow) * width * 4);
        if (!sink.Take(band, error)) {
            return false;
        }
        afterBand(done + rows);
    }
    return sink.Finish(error);
}

uint64_t Overlap(uint64_t a0, uint64_t a1, uint64_t b0, uint64_t b1) {
    const uint64_t low = std::max(a0, b0), high = std::min(a1, b1);
    return high > low ? high - low : 0;
}

// Each output pixel's mean over every input pixel, weighted by the exact
// overlap of the two in units of 1/(W w) by 1/(H h).
std::vector<long double> Reference(const Halves& image, unsigned W, unsigned H, unsigned w,
                                   unsigned h) {
    std::vector<long double> means(size_t(w) * h * 3, 0.0L);
    for (unsigned oy = 0; oy < h; ++oy) {
        for (unsigned ox = 0; ox < w; ++ox) {
            for (unsigned y = 0; y < H; ++y) {
                const uint64_t wy = Overlap(uint64_t(y) * h, uint64_t(y + 1) * h, uint64_t(oy) * H,
                                            uint64_t(oy + 1) * H);
                for (unsigned x = 0; wy != 0 && x < W; ++x) {
                    const uint64_t wx = Overlap(uint64_t(x) * w, uint64_t(x + 1) * w,
                                                uint64_t(ox) * W, uint64_t(ox + 1) * W);
                    for (unsigned c = 0; wx != 0 && c < 3; ++c) {
                        means[(size_t(oy) * w + ox) * 3 + c] +=
                            (long double)Value(image[(size_t(y) * W + x) * 4 + c]) * wx * wy;
                    }
                }
            }
            for (unsigned c = 0; c < 3; ++c) {
                means[(size_t(oy) * w + ox) * 3 + c] /= (long double)W * H;
            }
        }
    }
    return means;
}

// The half nearest the exact mean, allowing for the double sums and the
// float step before the half: either neighbour of a value within 1e-7.
bool NearestHalf(unsigned short bits, long double mean) {
    if (std::isinf(mean)) {
        return bits == 0x7C00;
    }
    const unsigned short low = Imath::half(float(mean * (1 - 1e-7L))).bits();
    const unsigned short high = Imath::half(float(mean * (1 + 1e-7L))).bits();
    return bits == low || bits == high;
}

struct SizeCase {
    unsigned width, height, maxSize;
    unsigned outWidth, outHeight; // by hand: the longer side maxSize, the other rounded
};

const SizeCase kSizes[] = {
    {8, 4, 4, 4, 2},   {16, 8, 4, 4, 2},  {12, 6, 3, 3, 2}, // 1.5 rounds up
    {7, 5, 3, 3, 2},   {5, 7, 3, 2, 3},   {1, 9, 4, 1, 4},   {9, 1, 4, 4, 1},
    {3, 40, 6, 1, 6},  {10, 3, 7, 7, 2},  {13, 11, 5, 5, 4}, {6, 6, 5, 5, 5},
    {31, 17, 8, 8, 4}, {2, 3, 2, 1, 2},   {100, 1, 1, 1, 1}, {37, 23, 36, 36, 22},
    {7, 5, 7, 7, 5},   {7, 5, 100, 7, 5}, {1, 1, 1, 1, 1},   {5, 7, 7, 5, 7},
};

} // namespace

TEST(DownscaleTest, EveryPixelIsTheAreaWeightedMeanInBandsOfAnySize) {
    unsigned seed = 1;
    for (const SizeCase& size : kSizes) {
        const Halves image = RandomImage(size.width, size.height, seed++);
        const bool unchanged = size.outWidth == size.width && size.outHeight == size.height;
        const std::vector<long double> means =
            unchanged ? std::vector<long double>()
                      : Reference(image, size.width, size.height, size.outWidth, size.outHeight);
        for (bool topToBottom : {true, false}) {
            for (unsigned bandRows : {1u, 2u, 3u, size.height}) {
                for (size_t outBandBytes : {size_t(1), size_t(24), size_t(1) << 20}) {
                    Recorder out;
                    Downscale sink(out, size.maxSize, outBandBytes);
                    unsigned inBands = 0;
                    ASSERT_TRUE(Feed(sink, image, size.width, size.height, topToBottom, bandRows,
                                     [&](unsigned) { ++inBands; }));
                    const std::string where =
                        std::to_string(size.width) + "x" + std::to_string(size.height) + " to " +
                        std::to_string(size.maxSize) + (topToBottom ? " down" : " up") +
                        ", bands of " + std::to_string(bandRows) + ", out " +
                        std::to_string(outBandBytes);
                    ASSERT_EQ(out.begun, 1) << where;
                    EXPECT_EQ(out.finished, 1) << where;
                    EXPECT_EQ(out.shape.width, size.outWidth) << where;
                    EXPECT_EQ(out.shape.height, size.outHeight) << where;
                    EXPECT_EQ(out.shape.rowsTopToBottom, topToBottom) << where;
                    EXPECT_EQ(out.rowsTaken, size.outHeight) << where;
                    if (unchanged) {
                        EXPECT_EQ(out.pixels, image) << where;
                        EXPECT_EQ(out.bands, inBands) << where;
                        continue;
                    }
                    // A band of at most the bytes asked for, and never less than a row.
                    const unsigned bandCap =
                        std::max<size_t>(1, outBandBytes / (size.outWidth * 8));
                    EXPECT_LE(out.largestBand, bandCap) << where;
                    for (size_t i = 0; i < size_t(size.outWidth) * size.outHeight; ++i) {
                        for (unsigned c = 0; c < 3; ++c) {
                            ASSERT_TRUE(NearestHalf(out.pixels[4 * i + c], means[3 * i + c]))
                                << where << " pixel " << i << " channel " << c << ": "
                                << Value(out.pixels[4 * i + c]) << " for "
                                << double(means[3 * i + c]);
                        }
                        ASSERT_EQ(out.pixels[4 * i + 3], 0x3C00) << where << " pixel " << i;
                    }
                }
            }
        }
    }
}

TEST(DownscaleTest, EachOutputRowIsPassedOnOnceItsInputHasArrived) {
    for (const SizeCase& size : kSizes) {
        if (size.outHeight == size.height) {
            continue;
        }
        const Halves image = RandomImage(size.width, size.height, 7);
        for (bool topToBottom : {true, false}) {
            Recorder out;
            Downscale sink(out, size.maxSize, 1);
            // Output row j is complete once input rows cover (j + 1) / h of the height.
            ASSERT_TRUE(
                Feed(sink, image, size.width, size.height, topToBottom, 1, [&](unsigned inRows) {
                    EXPECT_EQ(out.rowsTaken, uint64_t(inRows) * size.outHeight / size.height)
                        << size.width << "x" << size.height << " after " << inRows;
                }));
        }
    }
}

TEST(DownscaleTest, AnOverflowedPixelMakesTheOutputPixelsItFallsInInfinite) {
    // 7 x 5 to 3 x 2: pixel (3, 2) lies in output column 1 and, split, in both rows.
    for (bool topToBottom : {true, false}) {
        Halves image = RandomImage(7, 5, 3);
        image[(2 * 7 + 3) * 4 + 1] = 0x7C00;
        const std::vector<long double> means = Reference(image, 7, 5, 3, 2);
        Recorder out;
        Downscale sink(out, 3);
        ASSERT_TRUE(Feed(sink, image, 7, 5, topToBottom, 2, [](unsigned) {}));
        for (unsigned i = 0; i < 6; ++i) {
            const bool infinite = i == 1 || i == 4;
            EXPECT_EQ(out.pixels[4 * i + 1] == 0x7C00, infinite) << i;
            EXPECT_EQ(std::isinf(means[3 * i + 1]), infinite) << i;
            for (unsigned c = 0; c < 3; ++c) {
                EXPECT_TRUE(NearestHalf(out.pixels[4 * i + c], means[3 * i + c])) << i << " " << c;
            }
        }
    }
    // The largest finite half everywhere stays finite.
    Halves bright(11 * 4 * 4, 0x7BFF);
    Recorder out;
    Downscale sink(out, 3);
    ASSERT_TRUE(Feed(sink, bright, 11, 4, true, 3, [](unsigned) {}));
    for (size_t i = 0; i < out.pixels.size(); ++i) {
        EXPECT_EQ(out.pixels[i], i % 4 == 3 ? 0x3C00 : 0x7BFF) << i;
    }
}

TEST(DownscaleTest, ImagesWithoutPixelsPassUnchanged) {
    for (unsigned width : {0u, 9u}) {
        Recorder out;
        Downscale sink(out, 3);
        ASSERT_TRUE(Feed(sink, Halves(), width, width == 0 ? 9 : 0, true, 1, [](unsigned) {}));
        EXPECT_EQ(out.shape.width, width);
        EXPECT_EQ(out.bands, width == 0 ? 9u : 0u); // each band as it came
        EXPECT_EQ(out.finished, 1);
    }
}

// AddressSanitizer reserves more address space than the limit below allows.
#if !defined(__SANITIZE_ADDRESS__)
TEST(DownscaleTest, SumsBeyondMemoryFailAsOutOfMemory) {
    rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_AS, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = rlim_t(16) << 30; // the sums below would take 96 GiB
    ASSERT_EQ(setrlimit(RLIMIT_AS, &limited), 0);
    Recorder out;
    Downscale sink(out, 4000000000u);
    ImageShape shape;
    shape.width = 4294967295u;
    shape.height = 1;
    std::string error;
    const bool begun = sink.Begin(shape, error);
    ASSERT_EQ(setrlimit(RLIMIT_AS, &saved), 0);
    EXPECT_FALSE(begun);
    EXPECT_TRUE(sink.RanOutOfMemory());
    EXPECT_EQ(error, "out of memory");
    EXPECT_EQ(out.begun, 0);
}
#endif
