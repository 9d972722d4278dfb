#pragma once

#include "ZqApi.h"

#include <cstddef>

// A buffered byte stream: read raw bytes, read text lines, seek.
class ZQSYSTEM_API ZqBinaryStream {
public:
    enum SeekOrigin { ZQ_SEEK_SET = 0, ZQ_SEEK_CUR = 1, ZQ_SEEK_END = 2 };

    ZqBinaryStream() = default;
    ZqBinaryStream(const ZqBinaryStream&) = delete;
    ZqBinaryStream& operator=(const ZqBinaryStream&) = delete;
    virtual ~ZqBinaryStream();

    // Sets the read position, from the start, the current position or the
    // end; false when it cannot be set.
    virtual bool Seek(long offset, int origin) = 0;

    // Reads up to `bytes` bytes as they stand and answers how many were read;
    // 0 only at the end of the stream. This stream and its host share one
    // byte order, so the component sizes (the sizes of the values being read,
    // for byte swapping) change nothing.
    unsigned BinaryRead(void* buffer, unsigned bytes, const unsigned* componentSizes,
                        unsigned componentCount);

    // Reads one text line into `buffer` as a terminated string without its
    // line feed (nor a carriage return just before it). A line longer than
    // capacity - 1 bytes gives its first capacity - 1 bytes; the rest of it
    // is read and dropped. A last line without a line feed is still a line.
    // Answers the bytes the line took from the stream: 0 only at the end.
    unsigned GetLine(char* buffer, unsigned capacity);

protected:
    // BinaryRead's bytes: up to `bytes`, 0 only at the end. Fills the whole
    // request while the source lasts.
    virtual size_t ReadBytes(void* buffer, size_t bytes);

    // Called when no buffered byte is left: makes the next bytes of the
    // source readable between m_pucNext and m_pucEnd; answers how many, 0 at
    // the end.
    virtual size_t Refill() = 0;

    // Copies up to `bytes` buffered bytes; answers how many.
    size_t TakeBuffered(void* buffer, size_t bytes);

    const unsigned char* m_pucNext = nullptr;
    const unsigned char* m_pucEnd = nullptr;

private:
    // The next byte, or -1 at the end.
    int ReadByte() { return m_pucNext < m_pucEnd || Refill() > 0 ? *m_pucNext++ : -1; }
};
