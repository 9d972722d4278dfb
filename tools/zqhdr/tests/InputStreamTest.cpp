// The tool's input stream: each byte read from its source once, seeks back
// served from the bytes it keeps, a pipe read like a file.
#include "InputStream.h"
#include "BandedReader.h"
#include "HdrTestImages.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

const unsigned kByte = 1;

Bytes Pattern(size_t size) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<unsigned char>(i * 131 + i / 251);
    }
    return bytes;
}

std::string AsText(const Bytes& bytes) {
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// Reads `count` bytes in reads of up to 100000; answers how many came.
size_t ReadSome(ZqBinaryStream& stream, size_t count, Bytes& into) {
    size_t done = 0;
    unsigned char chunk[100000];
    while (done < count) {
        unsigned ask =
            static_cast<unsigned>(count - done < sizeof chunk ? count - done : sizeof chunk);
        unsigned got = stream.BinaryRead(chunk, ask, &kByte, 1);
        if (got == 0) {
            break;
        }
        into.insert(into.end(), chunk, chunk + got);
        done += got;
    }
    return done;
}

// A named pipe in `folder` that a thread of its own fills with `bytes` and
// closes once a reader has opened it.
class Pipe {
public:
    Pipe(const ScratchFolder& folder, Bytes bytes)
        : m_path(folder.Path("pipe")), m_bytes(std::move(bytes)) {
        EXPECT_EQ(mkfifo(m_path.c_str(), 0600), 0);
        m_writer = std::thread([this] {
            int file = open(m_path.c_str(), O_WRONLY);
            for (size_t done = 0; file >= 0 && done < m_bytes.size();) {
                ssize_t written = write(file, m_bytes.data() + done, m_bytes.size() - done);
                if (written <= 0) {
                    break;
                }
                done += size_t(written);
            }
            close(file);
        });
    }
    ~Pipe() { m_writer.join(); }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    Bytes m_bytes;
    std::thread m_writer;
};

// The bands, top row first, as one image.
class Collector : public BandSink {
public:
    bool Begin(const ImageShape& shape, std::string&) override {
        m_pixels.assign(size_t(shape.width) * shape.height * 8, '\0');
        m_rowBytes = size_t(shape.width) * 8;
        return true;
    }
    bool Take(const Band& band, std::string&) override {
        std::memcpy(&m_pixels[band.firstRow * m_rowBytes], band.pixels, band.rows * m_rowBytes);
        return true;
    }
    bool Finish(std::string&) override { return true; }

    std::string m_pixels;
    size_t m_rowBytes = 0;
};

std::string WholeDecode(const Bytes& image) {
    ZqMemoryFile file(image.data(), image.size());
    ZqHDRReader reader;
    std::unique_ptr<ZqPixelData> data(reader.ReadFile(file, nullptr));
    return data ? std::string(reinterpret_cast<const char*>(data->GetPixels(0)),
                              data->GetSizeInBytes(0))
                : "refused";
}

} // namespace

TEST(InputStreamTest, SeeksBackWithinItsRecentBytesAndFailsForGoodBeyondThem) {
    ScratchFolder folder;
    const Bytes bytes = Pattern(3 << 20);
    const std::string path = folder.Write("bytes", AsText(bytes));
    InputStream stream(path);
    ASSERT_TRUE(stream.IsOpen());
    Bytes read;
    const size_t first = bytes.size() - 1000;
    ASSERT_EQ(ReadSome(stream, first, read), first);
    EXPECT_EQ(0, std::memcmp(read.data(), bytes.data(), first));

    // The last kRecentBytes handed out are there to go back to.
    ASSERT_TRUE(stream.Seek(-long(InputStream::kRecentBytes), ZqBinaryStream::ZQ_SEEK_CUR));
    Bytes again;
    ASSERT_EQ(ReadSome(stream, InputStream::kRecentBytes + 1000, again),
              InputStream::kRecentBytes + 1000);
    EXPECT_EQ(0, std::memcmp(again.data(), bytes.data() + first - InputStream::kRecentBytes,
                             again.size()));
    ASSERT_TRUE(stream.Seek(-10, ZqBinaryStream::ZQ_SEEK_CUR));

    // The start was let go: the seek fails, and nothing more is read.
    EXPECT_FALSE(stream.Seek(0, ZqBinaryStream::ZQ_SEEK_SET));
    Bytes after;
    EXPECT_EQ(ReadSome(stream, 10, after), 0u);
}

TEST(InputStreamTest, KeptFromTheStartItReturnsThereAndTellsWhatItHandedOut) {
    ScratchFolder folder;
    const Bytes bytes = Pattern(3 << 20);
    InputStream stream(folder.Write("bytes", AsText(bytes)));
    stream.KeepFromStart();
    Bytes read;
    ASSERT_EQ(ReadSome(stream, 2 << 20, read), size_t(2) << 20);
    EXPECT_EQ(stream.HandedOut(), AsText(read));
    ASSERT_TRUE(stream.Seek(5, ZqBinaryStream::ZQ_SEEK_SET));
    EXPECT_EQ(Rest(stream), Bytes(bytes.begin() + 5, bytes.end()));
    // The end of a pipe is not known: no seek from there.
    EXPECT_FALSE(stream.Seek(0, ZqBinaryStream::ZQ_SEEK_END));

    InputStream absent(folder.Path("absent"));
    EXPECT_FALSE(absent.IsOpen());
}

TEST(InputStreamTest, APipeDecodesInBandsExactlyAsAFile) {
    // One row a band: every decoder call reads ahead and seeks back, which a
    // pipe could not do itself.
    for (const char* resolution : {"-Y 40 +X 300", "+Y 40 -X 300"}) {
        for (bool runLength : {true, false}) {
            const Bytes image =
                Concat(Header(resolution), runLength ? RlePixels(40, 300) : FlatPixels(40, 300));
            ScratchFolder folder;
            Pipe pipe(folder, image);
            InputStream stream(pipe.Path());
            ASSERT_TRUE(stream.IsOpen());
            BandedReader reader(300 * 8);
            Collector bands;
            std::string error;
            EXPECT_EQ(reader.Decode(stream, bands, error), BandedReader::Result::Decoded)
                << resolution;
            EXPECT_EQ(bands.m_pixels, WholeDecode(image))
                << resolution << (runLength ? " run-length" : " flat");
        }
    }
}
