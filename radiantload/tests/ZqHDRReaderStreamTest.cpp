// Decoding through streams of every buffer size and every read pattern: what
// a stream delivers per BinaryRead must change neither what is decoded or
// refused nor where the stream stands when the decoder returns.
#include "HdrTestImages.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <random>

namespace {

// Delivers at most one byte per BinaryRead.
class OneByteFile : public ZqMemoryFile {
public:
    using ZqMemoryFile::ZqMemoryFile;

protected:
    size_t ReadBytes(void* buffer, size_t bytes) override {
        return ZqMemoryFile::ReadBytes(buffer, std::min<size_t>(bytes, 1));
    }
};

// Delivers a random count from 1 to what was asked (at most 1000) per
// BinaryRead.
class ShortReadFile : public ZqMemoryFile {
public:
    ShortReadFile(const void* data, size_t size, unsigned seed)
        : ZqMemoryFile(data, size), m_random(seed) {}

protected:
    size_t ReadBytes(void* buffer, size_t bytes) override {
        if (bytes == 0) {
            return 0;
        }
        std::uniform_int_distribution<size_t> count(1, std::min<size_t>(bytes, 1000));
        return ZqMemoryFile::ReadBytes(buffer, count(m_random));
    }

private:
    std::mt19937 m_random;
};

// A stream over `bytes`, of one kind; `path` is a scratch file.
typedef std::function<std::unique_ptr<ZqFile>(const Bytes& bytes, const std::string& path)>
    MakeStream;

MakeStream OnDisk(size_t bufferSize) {
    return [bufferSize](const Bytes& bytes, const std::string& path) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return std::make_unique<ZqFile>(path.c_str(), bufferSize);
    };
}

const struct StreamKind {
    const char* name;
    MakeStream make;
} kStreams[] = {
    {"memory",
     [](const Bytes& bytes, const std::string&) {
         return std::make_unique<ZqMemoryFile>(bytes.data(), bytes.size());
     }},
    {"file, default buffer", OnDisk(ZqFile::kDefaultBufferSize)},
    {"file, smallest buffer", OnDisk(ZqFile::kSmallestBufferSize)},
    {"file, 128-byte buffer", OnDisk(128)},
    {"file, 4096-byte buffer", OnDisk(4096)},
    {"file, 65535-byte buffer", OnDisk(65535)},
    {"one byte per read",
     [](const Bytes& bytes, const std::string&) {
         return std::make_unique<OneByteFile>(bytes.data(), bytes.size());
     }},
    {"random short reads",
     [](const Bytes& bytes, const std::string&) {
         return std::make_unique<ShortReadFile>(bytes.data(), bytes.size(), 7);
     }},
    {"other random short reads",
     [](const Bytes& bytes, const std::string&) {
         return std::make_unique<ShortReadFile>(bytes.data(), bytes.size(), 1234);
     }},
};

// Bytes after the image that the decoders must leave in the stream.
const Bytes kTrailer = {'E', 'N', 'D', 2, 2, 0, 4, 0xFF};

struct Outcome {
    bool decoded = false;
    Bytes pixels; // the top level, rows top to bottom
    Bytes rest;   // what the stream still held after ReadFile
};

Outcome Decode(ZqFile& file) {
    Outcome outcome;
    ZqHDRReader reader;
    std::unique_ptr<ZqPixelData> data(reader.ReadFile(file, nullptr));
    outcome.rest = Rest(file);
    if (data) {
        outcome.decoded = true;
        const unsigned char* pixels = data->GetPixels(0);
        outcome.pixels.assign(pixels, pixels + data->GetSizeInBytes(0));
    }
    return outcome;
}

// Pixels with runs in every plane, and literals between them.
Bytes PixelsWithRuns(unsigned rows, unsigned columns) {
    Bytes flat(size_t(rows) * columns * 4);
    for (unsigned i = 0; i < rows; ++i) {
        for (unsigned j = 0; j < columns; ++j) {
            unsigned char* pixel = &flat[4 * (size_t(i) * columns + j)];
            pixel[0] = static_cast<unsigned char>(j / 7 + i);
            pixel[1] = static_cast<unsigned char>(j % 200 < 150 ? 40 : j);
            pixel[2] = static_cast<unsigned char>((j * j + i) % 251);
            pixel[3] = static_cast<unsigned char>(120 + j / 300 % 12);
        }
    }
    return flat;
}

// Run-length data of `flat`: runs of three or more equal bytes as run
// packets (at most 127), the rest as literals (at most 128).
Bytes EncodeRunLength(const Bytes& flat, unsigned rows, unsigned columns) {
    Bytes data;
    Bytes plane(columns);
    for (unsigned i = 0; i < rows; ++i) {
        Append(data, {2, 2, static_cast<unsigned char>(columns >> 8),
                      static_cast<unsigned char>(columns & 0xFF)});
        for (unsigned k = 0; k < 4; ++k) {
            for (unsigned j = 0; j < columns; ++j) {
                plane[j] = flat[4 * (size_t(i) * columns + j) + k];
            }
            unsigned j = 0;
            while (j < columns) {
                unsigned run = 1;
                while (j + run < columns && run < 127 && plane[j + run] == plane[j]) {
                    ++run;
                }
                if (run >= 3) {
                    Append(data, {static_cast<unsigned char>(128 + run), plane[j]});
                    j += run;
                    continue;
                }
                unsigned start = j;
                while (j < columns && j - start < 128 &&
                       !(j + 2 < columns && plane[j] == plane[j + 1] && plane[j] == plane[j + 2])) {
                    ++j;
                }
                AppendLiteralPlane(data, &plane[start], j - start);
            }
        }
    }
    return data;
}

// The decoded top level that `flat` (rows x columns RGBE pixels, rows top to
// bottom) must give.
Bytes ExpectedHalves(const Bytes& flat) {
    Bytes out;
    for (size_t i = 0; i < flat.size(); i += 4) {
        std::vector<unsigned char> half = HalfOf(&flat[i]);
        out.insert(out.end(), half.begin(), half.end());
    }
    return out;
}

} // namespace

TEST(ZqHDRReaderStreams, ValidImagesDecodeThroughEveryStream) {
    ScratchFolder scratch;
    struct Image {
        const char* what;
        unsigned rows, columns;
        Bytes flat;
        bool runLength;
    } images[] = {
        {"run-length 200 x 3", 3, 200, FlatPixels(3, 200), true},
        {"flat 200 x 3", 3, 200, FlatPixels(3, 200), false},
        {"flat 20000 x 1", 1, 20000, FlatPixels(1, 20000), false},
        {"run-length 1000 x 40, runs and literals", 40, 1000, PixelsWithRuns(40, 1000), true},
        {"run-length 20000 x 3, runs and literals", 3, 20000, PixelsWithRuns(3, 20000), true},
        {"flat 1 x 1", 1, 1, FlatPixels(1, 1), false},
    };
    for (const Image& image : images) {
        std::string resolution =
            "-Y " + std::to_string(image.rows) + " +X " + std::to_string(image.columns);
        Bytes file = Concat(Header(resolution),
                            image.runLength ? EncodeRunLength(image.flat, image.rows, image.columns)
                                            : image.flat);
        file.insert(file.end(), kTrailer.begin(), kTrailer.end());
        const Bytes expected = ExpectedHalves(image.flat);
        for (const StreamKind& kind : kStreams) {
            std::unique_ptr<ZqFile> stream = kind.make(file, scratch.Path("image.hdr"));
            Outcome outcome = Decode(*stream);
            ASSERT_TRUE(outcome.decoded) << image.what << " through " << kind.name;
            EXPECT_TRUE(outcome.pixels == expected) << image.what << " through " << kind.name;
            EXPECT_EQ(outcome.rest, kTrailer)
                << image.what << " through " << kind.name << ": stands after the pixel data";
        }
    }
}

TEST(ZqHDRReaderStreams, BrokenImagesAreRefusedAtTheSameByteThroughEveryStream) {
    ScratchFolder scratch;
    const Bytes good = {2, 2, 0, 4, 4, 1, 2, 3, 4, 132, 9, 3, 1, 2, 3, 129, 7, 132, 130};
    auto join = [](Bytes a, const Bytes& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    struct Case {
        const char* what;
        const char* resolution;
        Bytes data;
        Bytes rest; // what the stream holds after the refusal
    } cases[] = {
        {"count 0", "-Y 2 +X 4", join({2, 2, 0, 4, 0, 1, 2, 3, 4}, kTrailer),
         join({1, 2, 3, 4}, kTrailer)},
        {"literal past the width", "-Y 2 +X 4", join({2, 2, 0, 4, 5, 1, 2, 3, 4, 5}, kTrailer),
         join({1, 2, 3, 4, 5}, kTrailer)},
        {"run past the width", "-Y 2 +X 4", join({2, 2, 0, 4, 3, 1, 2, 3, 130, 9}, kTrailer),
         join({9}, kTrailer)},
        {"length other than the width", "-Y 2 +X 4", join({2, 2, 0, 5, 133, 1}, kTrailer),
         join({133, 1}, kTrailer)},
        {"second scanline not run-length", "-Y 2 +X 4", join(join(good, {1, 2, 3, 4}), kTrailer),
         kTrailer},
        {"second scanline of another length", "-Y 2 +X 4", join(join(good, {2, 2, 0, 3}), kTrailer),
         kTrailer},
        {"ends inside a literal", "-Y 2 +X 4", Bytes(good.begin(), good.begin() + 7), {}},
        {"ends before a run value", "-Y 2 +X 4", Bytes(good.begin(), good.begin() + 10), {}},
        {"ends before the second scanline", "-Y 2 +X 4", good, {}},
        {"flat, one byte short",
         "-Y 3 +X 200",
         [] {
             Bytes flat = FlatPixels(3, 200);
             flat.pop_back();
             return flat;
         }(),
         {}},
    };
    for (const Case& c : cases) {
        Bytes file = Concat(Header(c.resolution), c.data);
        for (const StreamKind& kind : kStreams) {
            std::unique_ptr<ZqFile> stream = kind.make(file, scratch.Path("image.hdr"));
            Outcome outcome = Decode(*stream);
            EXPECT_FALSE(outcome.decoded) << c.what << " through " << kind.name;
            EXPECT_EQ(outcome.rest, c.rest) << c.what << " through " << kind.name;
        }
    }
}
