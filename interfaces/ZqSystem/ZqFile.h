#pragma once

#include "ZqBinaryStream.h"

#include <cstdio>

// A stream over a file opened for reading, or over bytes already in memory
// (which are not copied and must outlive the stream).
class ZQSYSTEM_API ZqFile : public ZqBinaryStream {
public:
    static const size_t kDefaultBufferSize = 256 * 1024;

    explicit ZqFile(const char* path, size_t bufferSize = kDefaultBufferSize);
    ZqFile(const void* data, size_t size);
    ~ZqFile() override;

    // True when the file could be opened.
    bool IsGood() const { return m_pFile || m_bMemory; }
    explicit operator bool() const { return IsGood(); }

    bool Seek(long offset, int origin) override;

protected:
    size_t Refill(size_t bytes) override;
    size_t ReadDirect(void* buffer, size_t bytes) override;

private:
    std::FILE* m_pFile = nullptr;
    bool m_bMemory = false;
    const unsigned char* m_pucData = nullptr; // memory: the bytes; file: the buffer
    size_t m_size = 0;                        // memory: byte count; file: buffer capacity
};
