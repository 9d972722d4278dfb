#pragma once

#include "ZqBinaryStream.h"

#include <cstdio>

// A stream over a file opened for reading (ZqMemoryFile: over bytes already
// in memory).
class ZQSYSTEM_API ZqFile : public ZqBinaryStream {
public:
    static const size_t kDefaultBufferSize = 256 * 1024;
    // A smaller buffer size asked for is raised to this.
    static const size_t kSmallestBufferSize = 16;

    explicit ZqFile(const char* path, size_t bufferSize = kDefaultBufferSize);
    ~ZqFile() override;

    // True when the file could be opened.
    bool IsGood() const { return m_pFile || m_bMemory; }
    explicit operator bool() const { return IsGood(); }

    bool Seek(long offset, int origin) override;

protected:
    ZqFile(const void* data, size_t size);

    // A large request takes what is buffered, then reads the rest straight
    // into the caller's buffer: no copy through ours.
    size_t ReadBytes(void* buffer, size_t bytes) override;
    size_t Refill() override;

    // Requests from this size on (or from the buffer's size, if smaller) are
    // large.
    static const size_t kDirectReadSize = 4096;

private:
    std::FILE* m_pFile = nullptr;
    bool m_bMemory = false;
    const unsigned char* m_pucData = nullptr; // memory: the bytes; file: the buffer
    size_t m_size = 0;                        // memory: byte count; file: buffer capacity
};

// A file whose bytes are already in memory: not copied, and they must outlive
// the stream. For tests and fuzzing, and wherever an image arrives in memory.
class ZQSYSTEM_API ZqMemoryFile : public ZqFile {
public:
    ZqMemoryFile(const void* data, size_t size) : ZqFile(data, size) {}
};
