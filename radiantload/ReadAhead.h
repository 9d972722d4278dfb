#pragma once

#include "ZqBinaryStream.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// Reads all bytes through BinaryRead, one byte component at a time: bytes
// come as they stand in the file. A short count is not the end; asks again
// for the rest. Answers false when the stream ends first.
bool ReadExactly(ZqBinaryStream& stream, unsigned char* buffer, size_t bytes);

// The bytes of one decoder call, read from the stream ahead of use in blocks
// of a buffer of its own. When it goes, the stream is seeked back over what
// was read and not taken, so that it stands exactly after the last byte
// taken, as if the decoder had read byte by byte.
class ReadAhead {
public:
    // At most `limit` bytes are ever read from the stream, in blocks of up
    // to `capacity` bytes.
    ReadAhead(ZqBinaryStream& stream, size_t capacity, std::uint64_t limit);
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // False when the buffer could not be had.
    bool IsReady() const { return m_buffer != nullptr; }

    // Makes up to `bytes` bytes (at most the capacity) readable at Current()
    // and answers how many are; fewer only at the end of the stream or limit.
    size_t Ensure(size_t bytes) {
        size_t available = Available();
        return available >= bytes ? available : Fill(bytes);
    }
    const unsigned char* Current() const { return m_next; }
    size_t Available() const { return static_cast<size_t>(m_end - m_next); }
    void Advance(size_t bytes) { m_next += bytes; }

    // Takes exactly `bytes` bytes (at most the capacity); false when the
    // stream ends first.
    bool Take(unsigned char* out, size_t bytes);

private:
    size_t Fill(size_t bytes);

    ZqBinaryStream& m_stream;
    std::unique_ptr<unsigned char[]> m_buffer;
    size_t m_capacity;
    std::uint64_t m_left; // bytes still allowed from the stream
    const unsigned char* m_next = nullptr;
    const unsigned char* m_end = nullptr;
};
