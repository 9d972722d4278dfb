#pragma once

#include "ZqApi.h"

#include <cstddef>
#include <cstring>

// A buffered byte stream. Bytes come through a buffer that the stream refills,
// so that small reads cost an inline copy, not a call: readers may also look
// at the buffered bytes directly (Ensure, Current, Advance).
class ZQSYSTEM_API ZqBinaryStream {
public:
    enum SeekOrigin { ZQ_SEEK_SET = 0, ZQ_SEEK_CUR = 1, ZQ_SEEK_END = 2 };

    ZqBinaryStream() = default;
    ZqBinaryStream(const ZqBinaryStream&) = delete;
    ZqBinaryStream& operator=(const ZqBinaryStream&) = delete;
    virtual ~ZqBinaryStream();

    // Sets the read position; false when it cannot be set.
    virtual bool Seek(long offset, int origin) = 0;

    // Reads up to `bytes` bytes as they stand and answers how many were read.
    // This stream and its host share one byte order, so the component sizes
    // (the sizes of the values being read, for byte swapping) change nothing.
    unsigned BinaryRead(void* buffer, unsigned bytes, const unsigned* componentSizes,
                        unsigned componentCount);

    // Reads one text line into `buffer` as a terminated string without its
    // line feed (nor a carriage return just before it). A line longer than
    // capacity - 1 bytes gives its first capacity - 1 bytes; the rest of it
    // is read and dropped. A last line without a line feed is still a line.
    // Answers the bytes the line took from the stream: 0 only at the end.
    unsigned GetLine(char* buffer, unsigned capacity);

    // Up to `bytes` bytes; the count read.
    size_t Read(void* buffer, size_t bytes) {
        if (static_cast<size_t>(m_pucEnd - m_pucNext) >= bytes) {
            std::memcpy(buffer, m_pucNext, bytes);
            m_pucNext += bytes;
            return bytes;
        }
        return ReadSlow(buffer, bytes);
    }
    // The next byte, or -1 at the end.
    int ReadByte() { return m_pucNext < m_pucEnd ? *m_pucNext++ : ReadByteSlow(); }

    // Makes up to `bytes` bytes (at most the buffer's capacity) readable at
    // Current() and answers how many are; fewer only near the end.
    size_t Ensure(size_t bytes) {
        size_t available = static_cast<size_t>(m_pucEnd - m_pucNext);
        return available >= bytes ? available : Refill(bytes);
    }
    const unsigned char* Current() const { return m_pucNext; }
    size_t Available() const { return static_cast<size_t>(m_pucEnd - m_pucNext); }
    void Advance(size_t bytes) { m_pucNext += bytes; }

protected:
    // Keeps the unread bytes and adds more until `bytes` are readable or the
    // source ends; answers the readable count.
    virtual size_t Refill(size_t bytes) = 0;
    // Reads past the buffer straight into `buffer`, for large reads.
    virtual size_t ReadDirect(void* buffer, size_t bytes) = 0;

    const unsigned char* m_pucNext = nullptr;
    const unsigned char* m_pucEnd = nullptr;

private:
    size_t ReadSlow(void* buffer, size_t bytes);
    int ReadByteSlow();
};
