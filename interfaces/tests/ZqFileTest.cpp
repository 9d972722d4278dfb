#include "ZqFile.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace {

unsigned Read(ZqBinaryStream& stream, void* buffer, unsigned bytes) {
    const unsigned byteSize = 1;
    return stream.BinaryRead(buffer, bytes, &byteSize, 1);
}

// The next byte, or -1 at the end.
int NextByte(ZqBinaryStream& stream) {
    unsigned char byte;
    return Read(stream, &byte, 1) == 1 ? byte : -1;
}

std::string Lines(ZqBinaryStream& stream, unsigned capacity) {
    std::string out;
    std::vector<char> buffer(capacity + 1, '#');
    while (unsigned taken = stream.GetLine(buffer.data(), capacity)) {
        out += "[" + std::string(buffer.data()) + "]" + std::to_string(taken);
    }
    return out;
}

class FileTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 1000; ++i) {
            m_bytes += static_cast<char>(i % 251);
        }
        m_path = m_folder.Write("file.bin", m_bytes);
    }
    ScratchFolder m_folder;
    std::string m_path;
    std::string m_bytes;
};

} // namespace

TEST(ZqBinaryStream, GetLineTakesOneLineAtATime) {
    struct Case {
        std::string text;
        unsigned capacity;
        std::string lines;
    } cases[] = {
        {"ab\ncd\n", 256, "[ab]3[cd]3"},
        {"ab\r\ncd", 256, "[ab]4[cd]2"},    // CR before LF removed; last line without LF
        {"\n\n", 256, "[]1[]1"},            // empty lines still count
        {"a\rb\n", 256, "[a\rb]4"},         // a CR elsewhere stays
        {"abcdef\nxy\n", 4, "[abc]7[xy]3"}, // cut to capacity - 1, the rest dropped
        {"abc\r\n", 4, "[abc]5"},           // exactly fits once the CR goes
        {"abc\r\n", 3, "[ab]5"},
        {"", 256, ""},
    };
    for (const Case& c : cases) {
        ZqMemoryFile stream(c.text.data(), c.text.size());
        EXPECT_EQ(Lines(stream, c.capacity), c.lines) << c.text;
    }
}

TEST_F(FileTest, ReadsOfEverySizeGiveEveryByteInOrder) {
    for (size_t bufferSize : {size_t(1), size_t(16), size_t(128), ZqFile::kDefaultBufferSize}) {
        ZqFile file(m_path.c_str(), bufferSize);
        ASSERT_TRUE(file.IsGood());
        std::string read;
        char chunk[2000];
        for (unsigned bytes : {1u, 3u, 10u, 100u, 7u, 600u, 2000u}) {
            read.append(chunk, Read(file, chunk, bytes));
        }
        EXPECT_EQ(read, m_bytes) << bufferSize;
        EXPECT_EQ(Read(file, chunk, 10), 0u) << "the end";
    }
}

TEST_F(FileTest, LargeReadsBypassTheBuffer) {
    // Counts the buffer's refills.
    class CountingFile : public ZqFile {
    public:
        using ZqFile::ZqFile;
        int refills = 0;

    protected:
        size_t Refill() override {
            ++refills;
            return ZqFile::Refill();
        }
    };
    CountingFile file(m_path.c_str(), 64);
    char chunk[1000];
    ASSERT_EQ(Read(file, chunk, 10), 10u); // a small read fills the buffer
    EXPECT_EQ(file.refills, 1);
    ASSERT_EQ(Read(file, chunk + 10, 990), 990u); // the buffered rest, then straight in
    EXPECT_EQ(file.refills, 1);
    EXPECT_EQ(std::string(chunk, sizeof chunk), m_bytes);
}

TEST_F(FileTest, SeekFromEachOrigin) {
    ZqFile file(m_path.c_str(), 16);
    char byte;
    Read(file, &byte, 1);
    Read(file, &byte, 1);
    ASSERT_TRUE(file.Seek(5, ZqBinaryStream::ZQ_SEEK_CUR)); // the buffer ran ahead: still byte 7
    EXPECT_EQ(NextByte(file), 7);
    ASSERT_TRUE(file.Seek(-3, ZqBinaryStream::ZQ_SEEK_CUR)); // back over bytes 5, 6 and 7
    EXPECT_EQ(NextByte(file), 5);
    ASSERT_TRUE(file.Seek(-3, ZqBinaryStream::ZQ_SEEK_END));
    EXPECT_EQ(NextByte(file), static_cast<unsigned char>(m_bytes[997]));
    ASSERT_TRUE(file.Seek(0, ZqBinaryStream::ZQ_SEEK_SET));
    EXPECT_EQ(NextByte(file), 0);

    ZqMemoryFile memory(m_bytes.data(), m_bytes.size());
    EXPECT_TRUE(memory.Seek(998, ZqBinaryStream::ZQ_SEEK_SET));
    char rest[10];
    EXPECT_EQ(Read(memory, rest, sizeof rest), 2u);
    EXPECT_TRUE(memory.Seek(-2, ZqBinaryStream::ZQ_SEEK_CUR));
    EXPECT_EQ(NextByte(memory), static_cast<unsigned char>(m_bytes[998]));
    EXPECT_FALSE(memory.Seek(5, ZqBinaryStream::ZQ_SEEK_CUR)); // past the end
    EXPECT_FALSE(memory.Seek(-1, ZqBinaryStream::ZQ_SEEK_SET));
}

TEST_F(FileTest, AFailedSeekLeavesTheStreamWhereItWas) {
    ZqFile file(m_path.c_str(), 16);
    ZqMemoryFile memory(m_bytes.data(), m_bytes.size());
    for (ZqBinaryStream* stream :
         {static_cast<ZqBinaryStream*>(&file), static_cast<ZqBinaryStream*>(&memory)}) {
        char two[2];
        ASSERT_EQ(Read(*stream, two, 2), 2u);
        EXPECT_FALSE(stream->Seek(-100, ZqBinaryStream::ZQ_SEEK_SET));
        EXPECT_FALSE(stream->Seek(-100, ZqBinaryStream::ZQ_SEEK_CUR));
        EXPECT_FALSE(stream->Seek(LONG_MIN, ZqBinaryStream::ZQ_SEEK_END));
        EXPECT_EQ(NextByte(*stream), 2) << (stream == &file ? "file" : "memory");
    }
}

TEST(ZqMemoryFile, WithoutDataItIsEmpty) {
    ZqMemoryFile stream(nullptr, 100);
    EXPECT_FALSE(stream.Seek(50, ZqBinaryStream::ZQ_SEEK_SET));
    EXPECT_TRUE(stream.Seek(0, ZqBinaryStream::ZQ_SEEK_END));
    EXPECT_EQ(NextByte(stream), -1);
}

namespace {

// Zero-filled pages the system hands out only when touched; null when the
// address space has no room.
const unsigned char* ReserveZeroBytes(size_t size) {
#ifdef _WIN32
    return static_cast<const unsigned char*>(
        VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
#else
    void* region =
        mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    return region == MAP_FAILED ? nullptr : static_cast<const unsigned char*>(region);
#endif
}

void Release(const unsigned char* region, size_t size) {
#ifdef _WIN32
    (void)size;
    VirtualFree(const_cast<unsigned char*>(region), 0, MEM_RELEASE);
#else
    munmap(const_cast<unsigned char*>(region), size);
#endif
}

} // namespace

// More bytes than a 32-bit long counts, as on 64-bit Windows.
TEST(ZqMemoryFile, SeeksOverMoreThanTwoGibibytes) {
    const size_t size = size_t(5) << 29;
    const unsigned char* region = ReserveZeroBytes(size);
    if (!region) {
        GTEST_SKIP() << "no room for 2.5 GiB in this address space";
    }
    {
        ZqMemoryFile stream(region, size);
        EXPECT_TRUE(stream.Seek(0, ZqBinaryStream::ZQ_SEEK_END));
        EXPECT_EQ(NextByte(stream), -1);
        EXPECT_TRUE(stream.Seek(-1, ZqBinaryStream::ZQ_SEEK_END));
        EXPECT_EQ(NextByte(stream), 0);
        EXPECT_EQ(NextByte(stream), -1);
        EXPECT_FALSE(stream.Seek(1, ZqBinaryStream::ZQ_SEEK_END));
        EXPECT_TRUE(stream.Seek(0, ZqBinaryStream::ZQ_SEEK_SET));
        EXPECT_EQ(NextByte(stream), 0);
    }
    Release(region, size);
}

TEST(ZqFile, MissingFileIsNotGood) {
    ZqFile file("/nonexistent/file.hdr");
    EXPECT_FALSE(file.IsGood());
    char line[8];
    EXPECT_EQ(file.GetLine(line, sizeof line), 0u);
    EXPECT_EQ(NextByte(file), -1);
}
