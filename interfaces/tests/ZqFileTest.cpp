#include "ZqFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

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
        m_path = (std::filesystem::path(::testing::TempDir()) / "zq-file-test.bin").string();
        std::string bytes;
        for (int i = 0; i < 1000; ++i) {
            bytes += static_cast<char>(i % 251);
        }
        std::ofstream(m_path, std::ios::binary) << bytes;
        m_bytes = bytes;
    }
    void TearDown() override { std::remove(m_path.c_str()); }
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

TEST_F(FileTest, SmallBufferReadsEveryByteInOrder) {
    ZqFile file(m_path.c_str(), 16);
    ASSERT_TRUE(file.IsGood());
    std::string read;
    for (int i = 0; i < 10; ++i) {
        read += static_cast<char>(file.ReadByte());
    }
    char chunk[100];
    ASSERT_EQ(file.Read(chunk, sizeof chunk), sizeof chunk); // past the buffer, straight through
    read.append(chunk, sizeof chunk);
    size_t available = file.Ensure(12); // refills the small buffer, keeping what is unread
    ASSERT_GE(available, 12u);
    EXPECT_EQ(available, file.Available());
    read.append(reinterpret_cast<const char*>(file.Current()), 12);
    file.Advance(12);
    char rest[2000];
    size_t tail = file.Read(rest, sizeof rest);
    read.append(rest, tail);
    EXPECT_EQ(read, m_bytes);
    EXPECT_EQ(file.ReadByte(), -1);
    EXPECT_EQ(file.Read(rest, 10), 0u);
}

TEST_F(FileTest, SeekFromEachOrigin) {
    ZqFile file(m_path.c_str(), 16);
    char byte;
    file.Read(&byte, 1);
    file.Read(&byte, 1);
    ASSERT_TRUE(file.Seek(5, ZqBinaryStream::ZQ_SEEK_CUR)); // the buffer ran ahead: still byte 7
    EXPECT_EQ(file.ReadByte(), 7);
    ASSERT_TRUE(file.Seek(-3, ZqBinaryStream::ZQ_SEEK_END));
    EXPECT_EQ(file.ReadByte(), static_cast<unsigned char>(m_bytes[997]));
    ASSERT_TRUE(file.Seek(0, ZqBinaryStream::ZQ_SEEK_SET));
    EXPECT_EQ(file.ReadByte(), 0);

    ZqMemoryFile memory(m_bytes.data(), m_bytes.size());
    EXPECT_TRUE(memory.Seek(998, ZqBinaryStream::ZQ_SEEK_SET));
    EXPECT_EQ(memory.Available(), 2u);
    EXPECT_FALSE(memory.Seek(5, ZqBinaryStream::ZQ_SEEK_CUR)); // past the end
    EXPECT_FALSE(memory.Seek(-1, ZqBinaryStream::ZQ_SEEK_SET));
}

TEST(ZqFile, MissingFileIsNotGood) {
    ZqFile file("/nonexistent/file.hdr");
    EXPECT_FALSE(file.IsGood());
    char line[8];
    EXPECT_EQ(file.GetLine(line, sizeof line), 0u);
    EXPECT_EQ(file.ReadByte(), -1);
}
